#include "platform/storage/sortkey.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>
#include <unicode/uversion.h>

#include <memory>
#include <string>

namespace cx {

namespace {
struct CollatorDeleter {
    void operator()(UCollator *c) const { ucol_close(c); }
};

UCollator *collator()
{
    // One collator per thread: ICU collators are not safe for concurrent use.
    thread_local std::unique_ptr<UCollator, CollatorDeleter> instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator *c = ucol_open("", &status);
        Q_ASSERT(U_SUCCESS(status));
        ucol_setStrength(c, UCOL_SECONDARY);
        ucol_setAttribute(c, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
        return std::unique_ptr<UCollator, CollatorDeleter>(c);
    }();
    return instance.get();
}
} // namespace

namespace {
// Full case folding first: the collation alone keeps ß apart from "ss" even at
// secondary strength, while users expect "Straße" and "STRASSE" to be one key.
std::u16string folded(const QString &text)
{
    std::u16string out(static_cast<size_t>(text.size()) * 3 + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = u_strFoldCase(reinterpret_cast<UChar *>(out.data()), static_cast<int32_t>(out.size()),
                                    reinterpret_cast<const UChar *>(text.utf16()), static_cast<int32_t>(text.size()),
                                    U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status))
        return std::u16string(reinterpret_cast<const char16_t *>(text.utf16()), static_cast<size_t>(text.size()));
    out.resize(static_cast<size_t>(n));
    return out;
}
} // namespace

QByteArray collationKey(const QString &text)
{
    const std::u16string fold = folded(text);
    const auto *chars = reinterpret_cast<const UChar *>(fold.data());
    const int32_t length = static_cast<int32_t>(fold.size());
    QByteArray key(qMax<qsizetype>(64, text.size() * 4 + 16), Qt::Uninitialized);
    int32_t needed = ucol_getSortKey(collator(), chars, length,
                                     reinterpret_cast<uint8_t *>(key.data()), static_cast<int32_t>(key.size()));
    if (needed > key.size()) {
        key.resize(needed);
        needed = ucol_getSortKey(collator(), chars, length, reinterpret_cast<uint8_t *>(key.data()), needed);
    }
    key.resize(needed > 0 ? needed - 1 : 0); // drop the terminating zero byte
    return key;
}

QString collationVersion()
{
    UVersionInfo info;
    ucol_getVersion(collator(), info);
    char text[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(info, text);
    return QStringLiteral("icu-") + QString::fromLatin1(text) + QStringLiteral("-folded-secondary");
}

} // namespace cx
