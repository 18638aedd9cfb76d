#include "support/http_serve_script.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace test_support {
namespace {

std::optional<long long> Number(std::string_view text) {
  long long value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

// Applies one directive to the page being read; the error text or empty.
std::string Apply(std::string_view word, std::string_view rest, ScriptedResponse& page,
                  bool& body_started) {
  if (word == "header") {
    page.header_lines.emplace_back(rest);
  } else if (word == "body") {
    if (body_started) page.body += "\r\n";
    page.body += rest;
    body_started = true;
  } else if (word == "body-file") {
    auto content = ReadFile(std::string(rest));
    if (!content) return "cannot read " + std::string(rest);
    page.body = *content;
  } else if (word == "chunked") {
    page.chunked = true;
  } else if (word == "close") {
    page.close_connection = true;
  } else if (word == "never-answer") {
    page.never_answer = true;
  } else {
    auto value = Number(rest);
    if (!value) return "expected a number after " + std::string(word);
    if (word == "status")
      page.status = static_cast<int>(*value);
    else if (word == "body-size")
      page.generated_body_size = static_cast<std::size_t>(*value);
    else if (word == "delay-ms")
      page.delay = std::chrono::milliseconds(*value);
    else if (word == "reset-after")
      page.reset_after_body_bytes = static_cast<std::size_t>(*value);
    else
      return "unknown directive " + std::string(word);
  }
  return {};
}

}  // namespace

ScriptResult ParseServeScript(std::string_view text) {
  ServeScript script;
  std::optional<std::string> path;
  ScriptedResponse page;
  bool body_started = false;
  auto finish = [&] {
    if (!path) return;
    if (*path == "*")
      script.fallback = page;
    else
      script.pages[*path] = page;
  };

  int number = 0;
  while (!text.empty()) {
    ++number;
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;

    std::size_t space = line.find(' ');
    std::string_view word = line.substr(0, space);
    std::string_view rest = space == std::string_view::npos ? "" : line.substr(space + 1);
    if (word == "page") {
      finish();
      if (rest.empty())
        return {std::nullopt, "line " + std::to_string(number) + ": page without path"};
      path = std::string(rest);
      page = ScriptedResponse{};
      body_started = false;
      continue;
    }
    if (!path) return {std::nullopt, "line " + std::to_string(number) + ": directive before page"};
    std::string error = Apply(word, rest, page, body_started);
    if (!error.empty()) return {std::nullopt, "line " + std::to_string(number) + ": " + error};
  }
  finish();
  return {std::move(script), {}};
}

std::string LogEntry(const RecordedRequest& request) {
  std::string entry = request.request_line + "\n";
  for (const std::string& line : request.header_lines) entry += line + "\n";
  entry += "body-length " + std::to_string(request.body.size()) + "\n\n";
  return entry;
}

}  // namespace test_support
