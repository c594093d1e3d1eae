#include "browse/name_collation.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stringpiece.h>

#include <stdexcept>

#include "browse/user_locale.h"
#include "browse/utf8_text.h"

namespace ravinel {

namespace {

std::unique_ptr<icu::Collator> makeCollator(const std::string& localeId,
                                            icu::Collator::ECollationStrength strength) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(
        icu::Collator::createInstance(icu::Locale(localeId.c_str()), status));
    if (U_SUCCESS(status)) {
        collator->setStrength(strength);
        collator->setAttribute(UCOL_CASE_FIRST, UCOL_LOWER_FIRST, status);
    }
    if (U_FAILURE(status) || !collator) {
        throw std::runtime_error("cannot create the collator of locale \"" + localeId +
                                 "\": " + u_errorName(status));
    }
    return collator;
}

int compareUtf8(const icu::Collator& collator, std::string_view a, std::string_view b) {
    if (a == b) {
        return 0;
    }
    // ICU reads ill-formed UTF-8 its own way; replacing first makes each bad byte one
    // U+FFFD, the same character the user sees.
    std::string fixedA;
    std::string fixedB;
    if (!isValidUtf8(a)) {
        fixedA = displayName(a);
        a = fixedA;
    }
    if (!isValidUtf8(b)) {
        fixedB = displayName(b);
        b = fixedB;
    }
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result =
        collator.compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                             icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
    if (U_FAILURE(status)) {
        throw std::runtime_error(std::string("name comparison failed: ") + u_errorName(status));
    }
    return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

}  // namespace

NameCollation::NameCollation(const std::string& localeId)
    : ignoringCase_(makeCollator(localeId, icu::Collator::SECONDARY)),
      withCase_(makeCollator(localeId, icu::Collator::TERTIARY)) {}

NameCollation::~NameCollation() = default;

const NameCollation& NameCollation::user() {
    // A locale name ICU refuses outright must not stop the browser: root collation then.
    static const NameCollation collation = [] {
        try {
            return NameCollation(userLocaleId("LC_COLLATE"));
        } catch (const std::runtime_error&) {
            return NameCollation("");
        }
    }();
    return collation;
}

int NameCollation::compareIgnoringCase(std::string_view a, std::string_view b) const {
    return compareUtf8(*ignoringCase_, a, b);
}

int NameCollation::compareWithCase(std::string_view a, std::string_view b) const {
    return compareUtf8(*withCase_, a, b);
}

}  // namespace ravinel
