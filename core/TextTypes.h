#pragma once

#include <memory>
#include <string>

// The program's text: UTF-16, like the window toolkits'.
using WideString = std::u16string;
// Large texts travel by shared pointer: a loaded file or the result of ten million numbers is
// handed over, never copied.
using SharedText = std::shared_ptr<const WideString>;
// Bytes, as files hold them.
using ByteString = std::string;
