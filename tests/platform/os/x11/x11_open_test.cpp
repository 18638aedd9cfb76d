#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "platform/os/x11/connection.h"
#include "platform/os/x11/private_x_server.h"

namespace {

using platform::os::x11::DisplayOpenResult;
using platform::os::x11::OpenDisplay;

// Sets or removes DISPLAY for one test and puts the old value back.
class DisplayVariable {
 public:
  explicit DisplayVariable(const char* value) {
    if (const char* old = getenv("DISPLAY")) old_ = old;
    if (value != nullptr) {
      setenv("DISPLAY", value, 1);
    } else {
      unsetenv("DISPLAY");
    }
  }
  ~DisplayVariable() {
    if (old_) {
      setenv("DISPLAY", old_->c_str(), 1);
    } else {
      unsetenv("DISPLAY");
    }
  }

 private:
  std::optional<std::string> old_;
};

TEST(OpenDisplayTest, WithoutDisplayTheErrorSaysSoOnOneLine) {
  for (const char* value : {static_cast<const char*>(nullptr), ""}) {
    DisplayVariable display(value);
    const DisplayOpenResult result = OpenDisplay();
    EXPECT_EQ(result.connection, nullptr);
    EXPECT_NE(result.error.find("DISPLAY"), std::string::npos) << result.error;
    EXPECT_EQ(result.error.find('\n'), std::string::npos);
  }
}

TEST(OpenDisplayTest, AnUnreachableDisplayIsNamedInTheError) {
  const DisplayOpenResult result = OpenDisplay(":4093");
  EXPECT_EQ(result.connection, nullptr);
  EXPECT_NE(result.error.find(":4093"), std::string::npos) << result.error;
}

TEST(OpenDisplayTest, TheDisplayVariableIsUsedWhenNoNameIsGiven) {
  const std::string& name = x11_testing::SharedServer().name();
  ASSERT_FALSE(name.empty());
  DisplayVariable display(name.c_str());
  const DisplayOpenResult result = OpenDisplay();
  ASSERT_NE(result.connection, nullptr) << result.error;
  EXPECT_TRUE(result.error.empty());
  EXPECT_GE(result.connection->fd(), 0);
}

}  // namespace
