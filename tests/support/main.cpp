#include <gtest/gtest.h>
#include <QApplication>

#include "contas.h"
#include "platform/dialogs.h"
#include "platform/language.h"
#include "platform/widget_dialogs.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Zentora 3.0"));
    // The program's language, as its entry sets it.
    platform::language::install();
    // The real boxes, for the tests that show them (Unscripted).
    platform::dialogs::useWidgets();
    // No box of the program is ever shown for real in a test: one that
    // appears outside a test's own script lands here and fails the test.
    platform::dialogs::Script base;
    contaCaixasDeCadaTeste(base);
    return RUN_ALL_TESTS();
}
