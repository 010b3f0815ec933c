#include "app/application.h"

#include "app/buttonkeys.h"
#include "app/focusreturn.h"
#include "app/minimising.h"
#include "app/titlebar.h"
#include "common/artwork.h"
#include "common/dialogs.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>
#include <exception>

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    // No display name: the desktop would append it to every window title, and each
    // title already names the program as it should read.
    setApplicationName(QStringLiteral("Scaffaria"));
    // Work screens come and go; only the hub and the login screen end the program.
    setQuitOnLastWindowClosed(false);
    // Every window, message boxes and file dialogs included, shows the program's icon.
    setWindowIcon(Artwork::programIcon());
    TitleBar::install(this);
    Minimising::install(this);
    ButtonKeys::install(this);
    FocusReturn::install(this);
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &failure) {
        Dialogs::plain(nullptr, Dialogs::failureText(failure));
    }
    return false;
}

namespace {

// The texts of Qt's standard dialogs that Qt's own Italian translation leaves in English
// (the print dialog's page range, the file dialog's type column). Installed after Qt's
// translation, so it is asked first; every other text falls through to Qt's.
class MissingItalian final : public QTranslator
{
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *source, const char *, int) const override
    {
        struct Text {
            const char *context, *source, *italian;
        };
        static const Text texts[] = {
            {"QPrintSettingsOutput", "Pages", "Pagine"},
            {"QPrintSettingsOutput", "All", "Tutte"},
            {"QAbstractFileIconProvider", "Folder", "Cartella"},
            {"QAbstractFileIconProvider", "File", "File"},
            {"QAbstractFileIconProvider", "%1 File", "File %1"},
            {"QAbstractFileIconProvider", "Drive", "Unità"},
            {"QAbstractFileIconProvider", "Shortcut", "Collegamento"},
            {"QAbstractFileIconProvider", "Unknown", "Sconosciuto"},
        };
        if (!context || !source)
            return {};
        for (const Text &t : texts) {
            if (std::strcmp(context, t.context) == 0 && std::strcmp(source, t.source) == 0)
                return QString::fromUtf8(t.italian);
        }
        return {};
    }
};

} // namespace

bool Application::loadItalianTranslation()
{
    auto *translator = new QTranslator(this);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QStringLiteral("qtbase_it"), folder)) {
        installTranslator(translator);
        installTranslator(new MissingItalian(this));
        return true;
    }
    delete translator;
    return false;
}

void Application::applyFormatting()
{
    QLocale italian(QLocale::Italian, QLocale::Italy);
    italian.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(italian);
}
