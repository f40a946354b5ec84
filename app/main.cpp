#include "platform.h"
#include "vendor.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMainWindow>
#include <QTranslator>

#include <exception>

namespace {

// Shows an error that an event handler let escape, and lets the program go on.
class Application final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &error) {
            quelvara::platform().showError(activeWindow(), QString::fromLocal8Bit(error.what()));
        } catch (...) {
            quelvara::platform().showError(activeWindow(), QStringLiteral("Erro desconhecido."));
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    QApplication::setApplicationName(quelvara::vendor::kAppTitle);
    QApplication::setApplicationDisplayName(quelvara::vendor::kAppTitle);

    // Standard buttons read "Sim", "Não", "Cancelar".
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                            QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslations);
    }

    try {
        QMainWindow window;
        window.setWindowTitle(quelvara::vendor::kAppTitle);
        window.resize(640, 415);
        window.show();
        QApplication::exec();
    } catch (const std::exception &error) {
        quelvara::platform().showError(nullptr, QString::fromLocal8Bit(error.what()));
    }
    return 0;
}
