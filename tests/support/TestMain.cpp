// Runs the tests headless: offscreen Qt platform, a private runtime folder, one QApplication; or, started
// as a second instance by a test, that instance's job.
#include "Headless.h"
#include "SecondInstance.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (const int result = runSecondInstance(argc, argv); result >= 0)
        return result;
    Headless headless;
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
