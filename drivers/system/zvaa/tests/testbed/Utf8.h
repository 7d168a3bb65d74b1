// UTF-8 for reports and Wine's Unix file names.
#pragma once

#include <string>

std::string Utf8(const std::wstring &text);
std::wstring FromUtf8(const char *text);
