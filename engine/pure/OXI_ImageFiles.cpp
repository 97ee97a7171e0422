#include "engine/pure/OXI_ImageFiles.h"

#include "engine/pure/OXI_ProcessNames.h"
#include "platform/pure/Orvex_TextCase.h"

namespace orvex {

namespace {

bool StartsWithText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

std::string Joined(std::string_view directory, std::string_view rest) {
    std::string path(directory);
    if (!path.empty() && path.back() == '\\') path.pop_back();
    if (!rest.starts_with('\\')) path += '\\';
    path += rest;
    return path;
}

}  // namespace

std::string DriverFilePath(std::string_view path, std::string_view windowsDirectory) {
    if (path.starts_with("\\??\\") || path.starts_with("\\\\?\\")) return std::string(path.substr(4));
    constexpr std::string_view systemRoot = "\\SystemRoot\\";
    if (StartsWithText(path, systemRoot)) return Joined(windowsDirectory, path.substr(systemRoot.size() - 1));
    if (path.starts_with("\\\\") || path.find(':') != std::string_view::npos) return std::string(path);
    if (path.starts_with('\\')) return std::string(windowsDirectory.substr(0, 2)) + std::string(path);
    return path.empty() ? std::string() : Joined(windowsDirectory, path);
}

std::vector<std::string> ServiceFileCandidates(std::string_view commandLine, TLeadBytePredicate isLeadByte) {
    std::vector<std::string> names;
    auto add = [&](std::string_view name) {
        if (name.empty()) return;
        std::string file(name);
        if (FileNamePart(file, isLeadByte).find('.') == std::string_view::npos) file += ".exe";
        names.push_back(std::move(file));
    };
    for (std::size_t blank = commandLine.find(' '); blank != std::string_view::npos;
         blank = commandLine.find(' ', blank + 1))
        add(commandLine.substr(0, blank));
    add(commandLine);
    return names;
}

}  // namespace orvex
