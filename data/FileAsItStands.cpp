#include "data/FileAsItStands.h"

#include <cctype>
#include <cstdio>

std::string FileAsItStandsUri(const std::string& hostPath) {
    // Within a URI "?", "#" and "%" have meanings of their own: every byte
    // but a plain letter, digit or separator goes as its escape.
    std::string uri = "file:";
    for (const char c : hostPath) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '/' || c == '.' || c == '-' || c == '_') {
            uri += c;
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", byte);
            uri += escape;
        }
    }
    return uri + "?immutable=1";
}
