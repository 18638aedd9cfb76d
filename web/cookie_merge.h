#pragma once

#include <span>
#include <string>
#include <string_view>

namespace web {

// The cookie name of an item "name=value": the trimmed text before the first "=", or the whole
// item trimmed when it has none.
std::string CookieName(std::string_view item);

// Whether any of the items has the cookie name `name` (case-sensitive).
bool HasCookie(std::span<const std::string> items, std::string_view name);

// Merges the cookies a response set (`received`, items joined by ";") into the cookies kept
// between requests (`stored`): received ones replace stored ones of the same name, the others
// stay after them, cookies set to "deleted" and repeats go. Both variables lose their spaces
// (ASCII and the full-width space of code page 936); `stored` becomes the merge, joined by
// "; ", which is also the result.
std::string MergeCookies(std::string& stored, std::string& received);

}  // namespace web
