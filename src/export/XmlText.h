#pragma once
// Escaping of user texts (SSIDs, names, notes, file titles, descriptions)
// where they are written into HTML or XML, so that they stay text.

#include <string>

namespace tarvo {

// Replaces & < > " ' by their character references.
std::string EscapeXml(const std::string& text);

// As EscapeXml, but every "<br>" (the line break that notes may carry) stays
// a line break.
std::string EscapeHtmlKeepingBreaks(const std::string& text);

// A relative file reference for an src or href attribute: "/" separators,
// bytes outside the unreserved set percent-encoded, so that names with
// blanks, '#', '%' or non-ASCII letters still load in any browser.
std::string RelativeUrl(const std::string& path);

} // namespace tarvo
