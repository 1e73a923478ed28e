// Runs the tests headless: offscreen Qt platform, a private runtime folder, one QApplication.
#include "Headless.h"
#include "core/AccessibleComboBox.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    Headless headless;
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    UseNamedComboBoxes(); // as the program does
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
