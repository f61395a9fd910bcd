// Reading a .mo catalogue: a header of 32-bit words, two tables of (length,
// offset) pairs, NUL-terminated strings. Every offset is checked, so a damaged
// catalogue is refused rather than read past its end.
#include "tools/i18n/catalogue.h"

#include <algorithm>
#include <string>

namespace scenario::i18n {

namespace {

constexpr std::uint32_t mo_magic = 0x950412de;

// Splits "a\0b" into its NUL-separated parts.
std::vector<std::string_view> parts(std::string_view s) {
    std::vector<std::string_view> out;
    for (;;) {
        const std::size_t nul = s.find('\0');
        out.push_back(s.substr(0, nul));
        if (nul == std::string_view::npos)
            return out;
        s.remove_prefix(nul + 1);
    }
}

class word_reader {
public:
    word_reader(std::span<const unsigned char> bytes, bool swapped) : bytes_(bytes), swapped_(swapped) {}

    std::optional<std::uint32_t> word(std::uint64_t at) const {
        if (at + 4 > bytes_.size())
            return std::nullopt;
        std::uint32_t w = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint32_t b = bytes_[at + (swapped_ ? 3 - i : i)];
            w |= b << (8 * i);
        }
        return w;
    }

    // The string the pair at `at` describes; its terminating NUL must be there.
    std::optional<std::string_view> string(std::uint64_t at) const {
        const std::optional<std::uint32_t> length = word(at), offset = word(at + 4);
        if (!length || !offset || std::uint64_t{*offset} + *length >= bytes_.size() ||
            bytes_[*offset + *length] != 0)
            return std::nullopt;
        return std::string_view(reinterpret_cast<const char*>(bytes_.data()) + *offset, *length);
    }

private:
    std::span<const unsigned char> bytes_;
    bool swapped_;
};

}  // namespace

result<catalogue> catalogue::read(std::span<const unsigned char> bytes) {
    if (bytes.size() < 28)
        return failure{"the catalogue is shorter than its header"};
    const bool swapped = word_reader(bytes, false).word(0) != mo_magic;
    const word_reader r(bytes, swapped);
    if (r.word(0) != mo_magic)
        return failure{"the catalogue does not start with the .mo magic number"};
    if ((*r.word(4) >> 16) > 1)
        return failure{"the catalogue's revision is not one this reader knows"};
    const std::uint32_t count = *r.word(8), originals = *r.word(12), translations = *r.word(16);
    catalogue c;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::optional<std::string_view> original = r.string(originals + std::uint64_t{i} * 8);
        const std::optional<std::string_view> translated = r.string(translations + std::uint64_t{i} * 8);
        if (!original || !translated)
            return failure{"entry " + std::to_string(i) + " of the catalogue lies outside it"};
        if (original->empty()) {
            c.header_ = *translated;
            continue;
        }
        const std::vector<std::string_view> english = parts(*original);
        c.entries_.push_back(
            {english[0], english.size() > 1 ? english[1] : std::string_view(), parts(*translated)});
    }
    std::sort(c.entries_.begin(), c.entries_.end(),
              [](const catalogue_entry& a, const catalogue_entry& b) { return a.key < b.key; });
    return c;
}

std::optional<std::string_view> catalogue::find(std::string_view key, std::size_t form) const {
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                                     [](const catalogue_entry& e, std::string_view k) { return e.key < k; });
    if (it == entries_.end() || it->key != key || form >= it->forms.size())
        return std::nullopt;
    return it->forms[form];
}

std::string_view catalogue::header_field(std::string_view field) const {
    std::string_view rest = header_;
    while (!rest.empty()) {
        const std::size_t newline = rest.find('\n');
        const std::string_view line = rest.substr(0, newline);
        rest = newline == std::string_view::npos ? std::string_view() : rest.substr(newline + 1);
        if (line.size() > field.size() && line.substr(0, field.size()) == field &&
            line[field.size()] == ':') {
            std::string_view value = line.substr(field.size() + 1);
            while (!value.empty() && value.front() == ' ')
                value.remove_prefix(1);
            return value;
        }
    }
    return {};
}

}  // namespace scenario::i18n
