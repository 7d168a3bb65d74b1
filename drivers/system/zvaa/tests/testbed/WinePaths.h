// Paths between Wine's Unix side and the Windows side (Wine's own conversions in kernel32).
#pragma once

#include <string>

// The Unix path of a Windows path; empty outside Wine or when it has none.
std::wstring UnixPathOf(const std::wstring &windowsPath);
// The Windows path of a Unix one ("/tmp/a" -> "Z:\tmp\a"); a path that is not a Unix one is given back
// unchanged, and outside Wine the Unix root is taken to be drive Z:, as Wine maps it.
std::wstring WindowsPathOf(const std::wstring &path);
