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

bool Application::loadItalianTranslation()
{
    auto *translator = new QTranslator(this);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QStringLiteral("qtbase_it"), folder)) {
        installTranslator(translator);
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
