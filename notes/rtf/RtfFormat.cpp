#include "notes/rtf/RtfFormat.h"

namespace qn::rtf {

QString FamilyOf(const QTextCharFormat& format)
{
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty())
            return families.first();
    }
    // Formats made with older calls may still carry the single family.
    if (format.hasProperty(QTextFormat::OldFontFamily))
        return format.stringProperty(QTextFormat::OldFontFamily);
    return {};
}

}  // namespace qn::rtf
