// Runs the tests headless: offscreen Qt platform, a private runtime folder, one QApplication.
#include "Headless.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    Headless headless;
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
