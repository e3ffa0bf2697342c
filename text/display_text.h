#pragma once
// Text for what people and other programs read: names come from files as bytes, often in
// Windows-1252 (the simulator's own files are), and go out as UTF-8 in JSON and XML.

#include <string>
#include <string_view>

// The bytes as UTF-8: well-formed UTF-8 sequences stay as they are, every other byte is read
// as a Windows-1252 character.
std::string validUtf8(std::string_view bytes);

// The text as valid UTF-8 with XML's special characters escaped and control characters other
// than tab and line breaks left out, for element content and attribute values alike.
std::string escapeXml(std::string_view text);
