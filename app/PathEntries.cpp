#include "app/PathEntries.h"

#include <algorithm>
#include <initializer_list>

// The texts are in the ANSI code page, where a double-byte character may end
// in a byte equal to '\\' (code page 936). Cutting such a byte cannot make a
// false match: the character's lead byte (0x81 or above) stays behind and
// equals no byte of the ASCII entries we look for. ';' and blanks never occur
// as a trailing byte.

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

Text normalised(const Text& entry)
{
    auto first = std::find_if_not(entry.begin(), entry.end(), isBlank);
    auto last = std::find_if_not(entry.rbegin(), entry.rend(), isBlank).base();
    Text trimmed = first < last ? Text(first, last) : Text();
    if (!trimmed.empty() && trimmed.back() == '\\') trimmed.pop_back();
    std::transform(trimmed.begin(), trimmed.end(), trimmed.begin(), asciiLower);
    return trimmed;
}

std::vector<Text> splitEntries(const Text& pathValue)
{
    std::vector<Text> entries;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = pathValue.find(';', start);
        entries.push_back(pathValue.substr(start, end - start));
        if (end == Text::npos) return entries;
        start = end + 1;
    }
}

}  // namespace

bool samePathEntry(const Text& a, const Text& b)
{
    return normalised(a) == normalised(b);
}

bool containsPathEntry(const Text& pathValue, const Text& entry)
{
    const std::vector<Text> entries = splitEntries(pathValue);
    return std::any_of(entries.begin(), entries.end(),
                       [&entry](const Text& present) { return samePathEntry(present, entry); });
}

std::vector<Text> missingJavaEntries(const Text& pathValue)
{
    std::vector<Text> missing;
    for (const char* entry : {javaBinEntry, jreBinEntry}) {
        if (!containsPathEntry(pathValue, entry)) missing.push_back(entry);
    }
    return missing;
}

Text withJavaEntries(const Text& pathValue)
{
    Text extended = pathValue;
    for (const Text& entry : missingJavaEntries(pathValue)) extended += ";" + entry;
    return extended;
}
