#pragma once

#include <memory>
#include <string>

// The program's text: UTF-16, like the window toolkits'.
using WideString = std::u16string;
// A loaded file is handed over by shared pointer, never copied.
using SharedWideString = std::shared_ptr<const WideString>;
// Bytes, as files hold them.
using ByteString = std::string;
