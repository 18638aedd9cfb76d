#pragma once

#include <curl/curl.h>

namespace platform::net {

// Points a handle at the process's trusted authorities: the system's, read once, and those
// AddTrustedAuthority added. Without an OpenSSL build, libcurl's own reading stays.
void UseTrustedAuthorities(CURL* easy);

}  // namespace platform::net
