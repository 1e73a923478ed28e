#include "exchange/frmImport.h"

#include "core/DialogKeys.h"
#include "core/DialogParts.h"
#include "core/Helpers.h"
#include "core/MainWindow.h"
#include "core/basMain.h"
#include "exchange/ExchangeDialogLayout.h"
#include "exchange/RecipeMarkers.h"
#include "exchange/cImport.h"
#include "platform/text/LineFile.h"
#include "platform/ui/Ui.h"

#include <QDir>
#include <QEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

namespace {
constexpr qint64 kCounterInterval = 100; // ms between two updates of the counters during a read

QElapsedTimer& counterClock()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer;
}

QLabel* counterLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setMinimumWidth(80);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}
} // namespace

frmImport::frmImport(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmImport");
    setWindowTitle("Import Recipes From File...");
    setModal(true);

    QHBoxLayout* fileRow = MakeFileRow(this, txtFile, cmdBrowse);
    cmdImport = NamedButton(this, "cmdImport", "Import");
    cmdCancel = NamedButton(this, "cmdCancel", "Close");
    cmdCancel->setCursor(Qt::ArrowCursor); // stays clickable-looking while the dialog shows the hourglass
    lblFound = counterLabel(this, "lblFound");
    lblImported = counterLabel(this, "lblImported");
    lblSkipped = counterLabel(this, "lblSkipped");
    lblMulti = new QLabel(this);
    lblMulti->setObjectName("lblMulti");
    lblCheck = new QLabel(this);
    lblCheck->setObjectName("lblCheck");

    QVBoxLayout* form = BannerLayout(this, "Import");
    form->addWidget(LabelFor(txtFile, "Select the file(s) to import from:", this));
    form->addLayout(fileRow);
    auto* counters = new QGridLayout;
    counters->setColumnStretch(0, 1);
    counters->addWidget(new QLabel("Recipes Found:", this), 0, 0);
    counters->addWidget(lblFound, 0, 1);
    counters->addWidget(new QLabel("Recipes Imported (Per File):", this), 1, 0);
    counters->addWidget(lblImported, 1, 1);
    counters->addWidget(new QLabel("Recipes Skipped (due to duplicates or errors):", this), 2, 0);
    counters->addWidget(lblSkipped, 2, 1);
    form->addSpacing(8);
    form->addLayout(counters);
    form->addWidget(lblCheck);
    form->addWidget(lblMulti);
    form->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdImport);
    buttons->addWidget(cmdCancel);
    form->addLayout(buttons);
    resize(480, 260);

    txtFile->installEventFilter(this);
    connect(txtFile, &QLineEdit::textEdited, this, &frmImport::txtFile_Edited);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmImport::cmdBrowse_Click);
    connect(cmdImport, &QPushButton::clicked, this, &frmImport::cmdImport_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmImport::cmdCancel_Click);
    Form_Load();
    EnterPressesFocusedButton(this);
}

frmImport::~frmImport() = default; // Import goes with its parent, the dialog

void frmImport::Form_Load()
{
    Import = new cImport(this);
    connect(Import, &cImport::Processing, this, &frmImport::Import_Processing);
    connect(Import, &cImport::Checking, this, &frmImport::Import_Checking);
}

bool frmImport::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtFile && event->type() == QEvent::FocusIn)
        txtFile_GotFocus();
    return QDialog::eventFilter(watched, event);
}

void frmImport::txtFile_GotFocus() { SelectAllText(txtFile); }

// A path typed by hand replaces the files chosen in the file dialog.
void frmImport::txtFile_Edited() { m_MultiSelect = false; }

void frmImport::cmdBrowse_Click()
{
    basMain::RunHandler("frmImport cmdBrowse", [&] {
        const QStringList chosen = ui::getOpenFileNames(
            "Please select a file to import the recipes from", {}, kExchangeFileFilter, kAllFilesFilter);
        txtFile->clear();
        m_Files.clear();
        m_MultiSelect = chosen.size() > 1;
        if (m_MultiSelect) {
            // Kept as a list, so that names holding blanks arrive whole.
            m_Folder = QFileInfo(chosen.first()).absolutePath();
            for (const QString& path : chosen)
                m_Files << QFileInfo(path).fileName();
            txtFile->setText(m_Files.join(' '));
        } else if (!chosen.isEmpty()) {
            txtFile->setText(chosen.first());
        }
    });
}

QString frmImport::CheckFormatRequired(const QString& path)
{
    try {
        text::LineReader in(path);
        while (!in.atEnd()) {
            cImport::yieldToEventLoop(); // a long file without a marker must not freeze the dialog
            // The markers are plain ASCII: the line's bytes need no decoding to be recognised.
            const QString format = FileLineFormat(QString::fromLatin1(in.readRawLine()));
            if (!format.isEmpty())
                return format;
        }
        return "Unknown";
    } catch (...) {
        basMain::LogCurrentException("function CheckFormatRequired");
        return {};
    }
}

void frmImport::cmdImport_Click()
{
    basMain::RunHandler("frmImport cmdImport", [&] {
        if (txtFile->text().isEmpty()) {
            ui::msgBox("Please select a file to import from", ui::Buttons::OK, ui::Icon::Information, "Import Error");
            return;
        }
        ui::BusyScope busy;
        importing_ = true;
        lblImported->clear();
        lblSkipped->clear();
        cmdImport->setEnabled(false);
        cmdCancel->setText("&Cancel");
        // However the run ends (done, cancelled or failed), the dialog is ready for the next one.
        const auto runEnd = qScopeGuard([this] {
            basMain::bCancelImport = false;
            lblMulti->clear();
            lblCheck->clear();
            unsetCursor();
            cmdImport->setEnabled(true);
            cmdCancel->setEnabled(true);
            cmdCancel->setText("&Close");
            importing_ = false;
        });
        cImport::yieldToEventLoop();
        setCursor(Qt::WaitCursor);

        const bool several = m_MultiSelect && txtFile->text() == m_Files.join(' ');
        if (!several) {
            importFile(txtFile->text());
            return;
        }
        const QStringList files = m_Files;
        const QString folder = m_Folder;
        for (m_FileIndex = 0; m_FileIndex < files.size(); ++m_FileIndex) {
            cImport::yieldToEventLoop();
            if (basMain::bCancelImport)
                break;
            lblMulti->setText(QString("File: %1 of %2").arg(m_FileIndex + 1).arg(files.size()));
            importFile(QDir(folder).filePath(files[m_FileIndex]));
        }
    });
}

void frmImport::importFile(const QString& path)
{
    m_Format = CheckFormatRequired(path);
    basMain::lRecipesFound = basMain::lRecipesImported = basMain::lRecipesSkipped = 0;
    if (m_Format == "Unknown") {
        ui::msgBox("File format not recognised.", ui::Buttons::OK, ui::Icon::Exclamation, "File format Error");
        txtFile->setFocus();
        return;
    }
    if (m_Format.isEmpty())
        return; // could not be read; logged
    lastCounterUpdate_ = -1;
    ImportWithReader(*Import, m_Format, path);
    showCounters(basMain::lRecipesFound, basMain::lRecipesImported, basMain::lRecipesSkipped);
}

bool frmImport::counterDue() const
{
    return lastCounterUpdate_ < 0 || counterClock().elapsed() - lastCounterUpdate_ >= kCounterInterval;
}

void frmImport::showCounters(qint32 found, qint32 imported, qint32 skipped)
{
    lblFound->setText(QString::number(found));
    lblImported->setText(QString::number(imported));
    lblSkipped->setText(QString::number(skipped));
    lastCounterUpdate_ = counterClock().elapsed();
}

void frmImport::Import_Processing(qint32 found, qint32 imported, qint32 skipped)
{
    try {
        if (!lblCheck->text().isEmpty())
            lblCheck->clear();
        // Painting the labels after every recipe would cost more than reading it: a few times a second
        // is what the eye needs; the file's last values are shown when its read ends.
        if (counterDue())
            showCounters(found, imported, skipped);
        cImport::yieldToEventLoop();
    } catch (...) {
    }
}

void frmImport::Import_Checking(qint64 bytesRead, qint64 fileSize)
{
    try {
        if (counterDue()) {
            constexpr double MB = 1024.0 * 1024.0;
            lblCheck->setText(QString("Checking the file: %1 of %2 MB read")
                                  .arg(bytesRead / MB, 0, 'f', 1)
                                  .arg(fileSize / MB, 0, 'f', 1));
            lastCounterUpdate_ = counterClock().elapsed();
        }
        cImport::yieldToEventLoop();
    } catch (...) {
    }
}

void frmImport::cmdCancel_Click()
{
    if (cmdCancel->text() == "&Cancel") {
        basMain::bCancelImport = true;
        cmdCancel->setText("&Close");
        cmdCancel->setEnabled(false); // back once the run has stopped
        return;
    }
    if (!importing_)
        closeDialog();
}

void frmImport::closeDialog()
{
    basMain::RunHandler("frmImport cmdCancel", [] { basMain::mainWindow().RefreshViews(); });
    accept();
}

// Esc and the close box: ignored while a run is on, else the same as Close.
void frmImport::reject()
{
    if (!importing_)
        closeDialog();
}
