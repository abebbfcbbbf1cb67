#include <gtest/gtest.h>
#include <QApplication>

#include "platform/language.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Zentora 3.0"));
    // The program's language, as its entry sets it.
    platform::language::install();
    return RUN_ALL_TESTS();
}
