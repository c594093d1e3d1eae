#pragma once

#include <unicode/uversion.h>

#include <memory>
#include <string>
#include <string_view>

U_NAMESPACE_BEGIN
class Collator;
U_NAMESPACE_END

namespace ravinel {

// The two locale comparisons of file names, through ICU collators made once. Collators
// compare from several threads at once safely (compare is const in ICU).
class NameCollation {
  public:
    // localeId is an ICU locale ID; empty means the root collation (what the C locale
    // gets: ICU's own "en_US_POSIX" orders by code point and so would not ignore case).
    explicit NameCollation(const std::string& localeId);
    ~NameCollation();
    NameCollation(const NameCollation&) = delete;
    NameCollation& operator=(const NameCollation&) = delete;

    // The collation of the user's locale (LC_COLLATE), made at first use.
    static const NameCollation& user();

    // -1, 0 or 1; case and width ignored (the name sorts). Ill-formed bytes compare as
    // U+FFFD, so two names may compare equal although their bytes differ.
    int compareIgnoringCase(std::string_view a, std::string_view b) const;
    // -1, 0 or 1; case counts, lowercase before uppercase of the same letter (the tokens
    // of the natural comparison).
    int compareWithCase(std::string_view a, std::string_view b) const;

  private:
    std::unique_ptr<icu::Collator> ignoringCase_;
    std::unique_ptr<icu::Collator> withCase_;
};

}  // namespace ravinel
