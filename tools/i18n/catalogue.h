// A compiled message catalogue (gettext's .mo layout, as msgfmt writes it),
// read from bytes in memory: the Italian one is built into the executable.
#pragma once

#include "common/result.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace scenario::i18n {

// One translated entry: the key (the English text, or "context\x04text"), the
// English plural when it has one, and the translation's forms.
struct catalogue_entry {
    std::string_view key;
    std::string_view english_plural;      // empty without a plural
    std::vector<std::string_view> forms;  // one, or one per plural form
};

class catalogue {
public:
    // The catalogue in `bytes`, which must outlive it; fails on anything that
    // is not a well-formed .mo (bad magic, a table or string out of bounds).
    static result<catalogue> read(std::span<const unsigned char> bytes);

    // The translation of `key`'s form `form` (0 singular, 1 plural), or none.
    std::optional<std::string_view> find(std::string_view key, std::size_t form = 0) const;

    // Every entry but the header, in key order.
    const std::vector<catalogue_entry>& entries() const { return entries_; }

    // The header's value of `field` ("Language", "Plural-Forms"), or empty.
    std::string_view header_field(std::string_view field) const;

private:
    std::vector<catalogue_entry> entries_;
    std::string_view header_;
};

}  // namespace scenario::i18n
