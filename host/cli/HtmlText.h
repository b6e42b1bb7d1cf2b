// The one escaping of text into an HTML page.
#pragma once

#include <string>

namespace corehost {

// `text` (UTF-8, possibly invalid) as HTML text fit for an element's content
// and for a double- or single-quoted attribute: & < > " ' as character
// references; control characters other than tab and line feed, and bytes
// that are not valid UTF-8, shown as \xHH; the C1 controls, the line and
// paragraph separators, the bidirectional controls, U+FEFF and the
// non-characters U+FFFE and U+FFFF shown as \uHHHH. Nothing in the result can
// open or close an element, an attribute, a comment or a script.
std::string escapeHtml(const std::string& text);

} // namespace corehost
