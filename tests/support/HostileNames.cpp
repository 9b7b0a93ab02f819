#include "support/HostileNames.h"

namespace velmor::test {

std::vector<std::string> hostileNames() {
    using namespace std::string_literals;
    return {"with blank"s,
            "tab\there"s,
            "double\"quote"s,
            "single'quote"s,
            "semi;touch sentinel;"s,
            "amp&&touch sentinel&"s,
            "pipe|touch sentinel"s,
            "$(touch sentinel)"s,
            "`touch sentinel`"s,
            "star*"s,
            "question?"s,
            "~tilde"s,
            "#hash"s,
            "bang!"s,
            "{a,b}"s,
            "<less"s,
            "greater>"s,
            "new\nline\ntouch sentinel\n"s,
            "ctrl\x01char"s,
            "-leading-dash"s,
            " leading blank"s,
            "trailing blank "s,
            "\xff\xfe not utf-8 \xe9"s,
            std::string(200, 'x'),
            "back\\slash"s,
            "dollar$HOME"s,
            "${IFS}touch${IFS}sentinel"s,
            "colon:name"s,
            "paren(1)"s,
            "brackets[1]"s,
            "caret^and%"s,
            "plain"s,
            "\xe3\x83\x9e\xe3\x83\xaa\xe3\x82\xaa"s,
            ">sentinel"s,
            "deep one"s};
}

}  // namespace velmor::test
