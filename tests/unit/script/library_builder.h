#pragma once
// Script Library files for tests, written as the compiler lays them out: a scrambled header and one
// scrambled record per script.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/header_key.h"

namespace qx::library_test {

struct TestScript {
    std::string name;
    std::string signature = "()";
    std::string locals = "0,0";
    std::string body = "{return(1);}";
};

inline std::string scrambled(std::string text, int key) {
    for (char& c : text) c = static_cast<char>(static_cast<uint8_t>(c) ^ static_cast<uint8_t>(key));
    return text;
}

inline std::string fiveDigits(std::size_t n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%05zu", n);
    return buf;
}

inline std::string recordText(const TestScript& s) {
    const std::string rest = s.name + s.signature + s.locals + s.body;
    return "~" + fiveDigits(rest.size() + 7) + "~" + rest;
}

// `entries` follow the compiler version: "~Vl1.50  ", "~F3\"Sum\"" and the like.
inline std::string headerText(int key, const std::string& entries = "") {
    const std::string tail = "~1.00 ~Va3.00  " + entries;
    return "~" + fiveDigits(12 + tail.size()) + "~" + fiveDigits(static_cast<std::size_t>(key)) + tail;
}

inline std::string recordsText(const std::vector<TestScript>& scripts) {
    std::string out;
    for (const TestScript& s : scripts) out += recordText(s);
    return out;
}

inline std::string libraryBytes(const std::vector<TestScript>& scripts, int key = 11, const std::string& entries = "") {
    return scrambled(headerText(key, entries), kHeaderKey) + scrambled(recordsText(scripts), key);
}

// A script whose body, with its terminator, takes exactly `footprint` bytes of the Swap Area.
inline TestScript sizedScript(const std::string& name, int footprint, int value) {
    std::string body = "{return(" + std::to_string(value) + ");";
    const std::size_t length = static_cast<std::size_t>(footprint - 1);
    while (body.size() + 1 < length) body += ';';
    body += '}';
    return TestScript{name, "()", "0,0", body};
}

}  // namespace qx::library_test
