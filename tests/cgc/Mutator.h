// Deterministic mutations of shader sources for the randomized tests: byte
// flips, insertions, deletions, duplications, token deletion and duplication,
// splices of two sources, truncation, deep nesting and huge literals.
#pragma once

#include <cctype>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

class ShaderMutator {
public:
    explicit ShaderMutator(uint64_t seed) : rng_(seed) {}

    // One mutant of seeds[k] for a random k, after 1 to 4 mutations.
    std::string mutate(const std::vector<std::string>& seeds) {
        std::string text = seeds[pick(seeds.size())];
        // Half the mutants differ by one small change, so that many still
        // translate and the later passes see near-valid programs too.
        int rounds = pick(2) ? 1 : 1 + static_cast<int>(pick(4));
        for (int i = 0; i < rounds; ++i) mutateOnce(text, seeds);
        if (text.size() > 200000) text.resize(200000);
        return text;
    }

private:
    size_t pick(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

    // Token boundaries: starts of identifiers, numbers and single punctuators.
    static std::vector<std::pair<size_t, size_t>> tokens(const std::string& s) {
        std::vector<std::pair<size_t, size_t>> out;
        size_t i = 0;
        auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; };
        while (i < s.size()) {
            if (std::isspace(static_cast<unsigned char>(s[i]))) {
                ++i;
                continue;
            }
            size_t start = i;
            if (word(s[i])) while (i < s.size() && word(s[i])) ++i;
            else ++i;
            out.emplace_back(start, i - start);
        }
        return out;
    }

    void mutateOnce(std::string& text, const std::vector<std::string>& seeds) {
        static const char* fragments[] = {
            "(",  ")",  "{",  "}",  "[",  "]",  ";",  ",",  ".",  ":",  "?",  "#",  "\"", "/*", "*/", "//", "\\\n",
            "#define X(a) a a\n", "#if 1\n", "#endif\n", "#else\n", "#undef X\n", "float4x4", "float3x3", "half2",
            "sampler2D", "samplerCUBE", "struct", "uniform", "static const", "out", "inout", "return", "discard",
            "mul(", "tex2D(", "lerp(", "saturate(", "clip(", ".xyzw", "._m00_m11", "[0]", "[99999]", ": TEXCOORD7",
            ": COLOR1", ": POSITION", ": ATTR15", ": TEXCOORD99", "99999999999999999999", "1e999999", "0x", "1.#INF",
            "-2147483648", "vsMain", "psMain", "++", "--", "+=", "%=", "<<=", "&&", "!=", "for (;;)", "while (1)",
            "do {} while (0);", "float a[] = {1, 2};", "(float3)", "float4(1)", "if (x) else", "\x00", "\xff",
            "#include \"include/luma.cgh\"\n", "#include \"seed.cg\"\n", "#define P(a, b) a ## b\n", "#define S(a) #a\n",
            " ## ", "float[2](", "float3[](", "tex2D(s, c, d, d)", "tex2Dproj(", "tex1D(", "uniform sampler2D ",
            "bool3(true, false, true) && ", " || ", "(x > 0.5) ? float3(1, 2, 3) : ", "uniform float2 ",
        };
        size_t size = text.size();
        // Deep nesting and long chains are slow to build and check: 1 in 16 each.
        size_t kind = pick(16);
        kind = kind == 15 ? 9 : kind == 14 ? 10 : kind % 9;
        switch (kind) {
        case 0:  // flip a byte
            if (size) text[pick(size)] = static_cast<char>(pick(256));
            break;
        case 1:  // insert a fragment
            text.insert(pick(size + 1), fragments[pick(sizeof fragments / sizeof *fragments)]);
            break;
        case 2:  // delete a range
            if (size) {
                size_t at = pick(size);
                text.erase(at, 1 + pick(std::min<size_t>(size - at, 64)));
            }
            break;
        case 3:  // duplicate a range
            if (size) {
                size_t at = pick(size), length = 1 + pick(std::min<size_t>(size - at, 128));
                text.insert(pick(size + 1), text.substr(at, length));
            }
            break;
        case 4:
        case 5: {  // delete or duplicate a token
            auto t = tokens(text);
            if (t.empty()) break;
            auto [at, length] = t[pick(t.size())];
            if (pick(2)) text.erase(at, length);
            else text.insert(at, text.substr(at, length) + " ");
            break;
        }
        case 6: {  // swap two tokens
            auto t = tokens(text);
            if (t.size() < 2) break;
            auto a = t[pick(t.size())], b = t[pick(t.size())];
            if (a.first > b.first) std::swap(a, b);
            if (a.first + a.second > b.first) break;
            std::string first = text.substr(a.first, a.second), second = text.substr(b.first, b.second);
            text.replace(b.first, b.second, first);
            text.replace(a.first, a.second, second);
            break;
        }
        case 7:  // truncate
            text.resize(pick(size + 1));
            break;
        case 8: {  // splice with another seed
            const std::string& other = seeds[pick(seeds.size())];
            text = text.substr(0, pick(size + 1)) + other.substr(pick(other.size() + 1));
            break;
        }
        case 9: {  // deep nesting
            static const char* opens[] = {"(", "{", "-", "!", "float4(", "mul(M, ", "[", "#if 1\n", "x = "};
            static const char* closes[] = {")", "}", "", "", ")", ")", "]", "#endif\n", ""};
            size_t kind = pick(sizeof opens / sizeof *opens);
            size_t depth = 1 + pick(pick(2) ? 40 : 3000);
            std::string open, close;
            for (size_t i = 0; i < depth; ++i) {
                open += opens[kind];
                close += closes[kind];
            }
            size_t at = pick(size + 1);
            text.insert(at, open + "1" + close);
            break;
        }
        default: {  // long chains and long names
            std::string chain = pick(2) ? "a" : "1.5";
            size_t n = 1 + pick(5000);
            for (size_t i = 0; i < n; ++i) chain += pick(2) ? " + a" : ".x";
            text.insert(pick(size + 1), pick(2) ? chain : std::string(1 + pick(100000), 'q'));
            break;
        }
        }
    }

    std::mt19937_64 rng_;
};
