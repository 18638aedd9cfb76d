#pragma once

#include <string>
#include <string_view>

namespace web {

// The host of an address: every "https://" and "http://" removed, then the part before the
// first "/" and before the first ":", in lower case.
std::string UrlHost(std::string_view url);

// From the first "/" after the host to the end, query included; "/" when there is none.
std::string UrlPath(std::string_view url);

// The number after the ":" of the address's host part; 80 without one, 0 when it is not a
// number.
int UrlPort(std::string_view url);

}  // namespace web
