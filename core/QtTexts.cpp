#include "core/QtTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>

namespace qn {

namespace {

// Texts of the standard dialogs that Qt's catalogue does not translate in
// this version (their class was renamed after the catalogue was made).
class MissingQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                      int /*n*/) const override
    {
        struct Text {
            const char* context;
            const char* source;
            const char* chinese;
        };
        static const Text kTexts[] = {
            {"QAbstractFileIconProvider", "Folder", "文件夹"},
            {"QAbstractFileIconProvider", "File Folder", "文件夹"},
            {"QAbstractFileIconProvider", "Drive", "驱动器"},
        };
        if (!context || !sourceText)
            return {};
        for (const Text& text : kTexts)
            if (std::strcmp(context, text.context) == 0 && std::strcmp(sourceText, text.source) == 0)
                return QString::fromUtf8(text.chinese);
        return {};
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

bool UseChineseForQtTexts()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto* app = QCoreApplication::instance();
    auto* catalogue = new QTranslator(app);
    const bool loaded =
        catalogue->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded)
        QCoreApplication::installTranslator(catalogue);
    QCoreApplication::installTranslator(new MissingQtTexts(app));
    return loaded;
}

}  // namespace qn
