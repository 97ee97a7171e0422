#include "engine/pure/OXI_FileNameKey.h"

namespace orvex {

std::string FileNameKey(std::string_view name, TLeadBytePredicate isLeadByte) {
    std::string key(name);
    for (std::size_t i = 0; i < key.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(key[i]);
        if (isLeadByte && isLeadByte(c)) {
            ++i;  // the trail byte belongs to this character
            continue;
        }
        if (c >= 'a' && c <= 'z') key[i] = static_cast<char>(c - 'a' + 'A');
    }
    return key;
}

}  // namespace orvex
