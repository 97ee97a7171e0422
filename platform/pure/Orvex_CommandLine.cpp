#include "platform/pure/Orvex_CommandLine.h"

namespace orvex {

namespace {

bool IsBlank(char16_t c) noexcept { return c == u' ' || c == u'\t'; }

}  // namespace

std::u16string_view CommandLineArguments(std::u16string_view commandLine) {
    std::size_t i = 0;
    bool quoted = false;
    for (; i < commandLine.size(); ++i) {
        const char16_t c = commandLine[i];
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && IsBlank(c))
            break;
    }
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    return commandLine.substr(i);
}

std::u16string TwinProgramPath(std::u16string_view programPath) {
    const std::size_t slash = programPath.find_last_of(u"\\/:");
    const std::size_t nameStart = slash == std::u16string_view::npos ? 0 : slash + 1;
    std::size_t dot = programPath.rfind(u'.');
    if (dot == std::u16string_view::npos || dot < nameStart) dot = programPath.size();
    std::u16string twin(programPath.substr(0, dot));
    twin += u"64";
    twin += programPath.substr(dot);
    return twin;
}

std::u16string ProgramCommandLine(std::u16string_view programPath, std::u16string_view arguments) {
    std::u16string line = u"\"";
    line += programPath;
    line += u'"';
    if (!arguments.empty()) {
        line += u' ';
        line += arguments;
    }
    return line;
}

}  // namespace orvex
