#include "browser/frmSplash.h"

#include "core/basMain.h"

#include <QLabel>
#include <QVBoxLayout>

frmSplash::frmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen)
{
    setObjectName("frmSplash");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("Tovalquendry", this);
    title->setObjectName("lblTitle");
    auto* version = new QLabel(basMain::versionText(), this);
    version->setObjectName("lblVersion");
    layout->addWidget(title);
    layout->addWidget(version);
}
