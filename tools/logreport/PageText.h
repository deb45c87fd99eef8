// Log text on the HTML page: converted from the log's code page to UTF-8 and escaped
// for a JSON string inside a script element, or for HTML text.
#pragma once

#include <string>
#include <string_view>

namespace logreport {

class PageText {
public:
    explicit PageText(unsigned codePage) : _codePage(codePage) {}

    // Log bytes as UTF-8: ASCII as it is, the rest through the code page; control
    // bytes (binary noise) become a middle dot, invalid UTF-8 the replacement mark.
    const std::string& Utf8(std::string_view bytes);

private:
    unsigned _codePage;
    std::string _utf8;
};

// Appends `utf8` as a JSON string (quotes included) that is safe inside <script>.
void AppendJsonString(std::string& out, std::string_view utf8);
// Appends `utf8` as HTML text.
void AppendHtml(std::string& out, std::string_view utf8);

}  // namespace logreport
