// Texts of a service record built from its configuration.
#pragma once

#include <string>
#include <string_view>

namespace orvex {

// The dependency list (zero-terminated names ended by an empty name) as key
// names separated by single blanks. A blank inside a name splits it; the
// walk reads at most 1,025 characters of List and stops at its end.
std::string JoinDependencies(std::string_view list);

// The command line with every double-quote character removed.
std::string WithoutQuotes(std::string_view text);

}  // namespace orvex
