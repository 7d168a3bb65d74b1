// A printer port that is a file (a Unix path under Wine, or a Windows path): what the spooler has
// written to it.
#pragma once

#include <string>

// The bytes the port file has received so far (empty when there is none).
std::string ReadPortFile(const std::wstring &port);
// The bytes of any file (a Windows path); empty when it cannot be read.
std::string ReadFileBytes(const std::wstring &path);
// Empties the port file, so that what it holds next is one job's bytes.
bool ClearPortFile(const std::wstring &port);
// What a maintenance print sends for a print file: the printer's job frame around the file's bytes.
std::string FramedJob(const std::string &content);
