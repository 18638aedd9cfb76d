#include "directui/core/call_routine.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace directui {
namespace {

int calls_of_counted = 0;
RoutineArg Counted(RoutineArg a) {
  ++calls_of_counted;
  return a;
}

RoutineArg TakesThree(RoutineArg a, RoutineArg b, RoutineArg c) {
  return a * 100 + b * 10 + c;
}

// What a routine may be: declared RoutineArg parameters only, at most ten, an integer or
// nothing as its answer.
static_assert(StorableRoutine<RoutineArg (*)()>);
static_assert(StorableRoutine<void (*)(RoutineArg, RoutineArg)>);
static_assert(StorableRoutine<int (*)(RoutineArg)>);
static_assert(
    StorableRoutine<void (*)(RoutineArg, RoutineArg, RoutineArg, RoutineArg, RoutineArg, RoutineArg,
                             RoutineArg, RoutineArg, RoutineArg, RoutineArg)>);
static_assert(!StorableRoutine<void (*)(RoutineArg, RoutineArg, RoutineArg, RoutineArg, RoutineArg,
                                        RoutineArg, RoutineArg, RoutineArg, RoutineArg, RoutineArg,
                                        RoutineArg)>);
static_assert(!StorableRoutine<void (*)(int)>, "a narrowed handle");
static_assert(!StorableRoutine<void (*)(void*)>);
static_assert(!StorableRoutine<double (*)()>);
static_assert(!StorableRoutine<std::string (*)()>);
inline constexpr auto kGeneric = [](auto) { return 0; };
static_assert(!StorableRoutine<decltype(kGeneric)>);

TEST(CallRoutineTest, EmptyRoutinesAnswerZeroAndCallNothing) {
  calls_of_counted = 0;
  RoutineArg (*null_function)(RoutineArg) = nullptr;
  const std::vector<std::pair<const char*, Routine>> empty = {
      {"default", Routine()},
      {"nullptr", Routine(nullptr)},
      {"null function pointer", Routine(null_function)},
      {"empty std::function", Routine(std::function<RoutineArg(RoutineArg)>())},
  };
  for (const auto& [name, routine] : empty) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(routine);
    EXPECT_EQ(CallRoutine(routine), 0);
    EXPECT_EQ(CallRoutine(routine, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16), 0);
  }
  EXPECT_EQ(calls_of_counted, 0);
  EXPECT_EQ(CallRoutine(Routine(Counted), 5), 5);
  EXPECT_EQ(calls_of_counted, 1);
}

TEST(CallRoutineTest, ARoutineGetsTheLeadingArgumentsItDeclares) {
  EXPECT_EQ(CallRoutine(Routine(TakesThree), 1, 2, 3, 4, 5), 123);
  // Arguments not passed are 0.
  EXPECT_EQ(CallRoutine(Routine(TakesThree), 4), 400);
  EXPECT_EQ(CallRoutine(Routine([] { return RoutineArg{42}; }), 1, 2, 3), 42);

  std::vector<RoutineArg> seen;
  Routine all_ten([&](RoutineArg a, RoutineArg b, RoutineArg c, RoutineArg d, RoutineArg e,
                      RoutineArg f, RoutineArg g, RoutineArg h, RoutineArg i,
                      RoutineArg j) { seen = {a, b, c, d, e, f, g, h, i, j}; });
  EXPECT_EQ(all_ten.arity(), 10u);
  EXPECT_EQ(CallRoutine(all_ten, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10), 0) << "no answer counts as 0";
  EXPECT_EQ(seen, (std::vector<RoutineArg>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST(CallRoutineTest, PointerSizedValuesArriveWhole) {
  int object = 0;
  const auto address = reinterpret_cast<RoutineArg>(&object);
  Routine echo([](RoutineArg, RoutineArg second) { return second; });
  EXPECT_EQ(CallRoutine(echo, 0, address), address);
  EXPECT_EQ(CallRoutine(echo, 0, RoutineArg{-1}), -1);
  EXPECT_EQ(CallRoutine(Routine([](RoutineArg) { return -1; }), 5), -1) << "int -1 stays -1";
}

TEST(CallRoutineTest, AStoredRoutineKeepsItsStateAcrossCalls) {
  Routine counter([n = RoutineArg{0}]() mutable { return ++n; });
  EXPECT_EQ(CallRoutine(counter), 1);
  EXPECT_EQ(CallRoutine(counter), 2);
  Routine copy = counter;
  EXPECT_EQ(CallRoutine(copy), 3);
  EXPECT_EQ(CallRoutine(counter), 3) << "copies are independent";
}

}  // namespace
}  // namespace directui
