#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "support/http_test_server.h"

namespace test_support {

// The pages of the standalone server, read from a small line-based script:
//
//   page /s                 starts the answer for a path ("page *" answers every other path)
//   status 302
//   header Location: /x     one header line, sent as written
//   body some text          the body, to the end of the line (repeat to add lines, CR LF joined)
//   body-file page.html     the body from a file
//   body-size 1000000       a generated body of that many bytes
//   chunked | close | never-answer
//   delay-ms 250 | reset-after 100
//
// Blank lines and lines starting with "#" are ignored.
struct ServeScript {
  std::map<std::string, ScriptedResponse> pages;
  std::optional<ScriptedResponse> fallback;
};

struct ScriptResult {
  std::optional<ServeScript> script;  // empty when the script has an error
  std::string error;                  // "line N: ..." for the first bad line
};

ScriptResult ParseServeScript(std::string_view text);

// One request as the standalone server logs it: the request line, the header lines and the
// body length, then a blank line.
std::string LogEntry(const RecordedRequest& request);

}  // namespace test_support
