#include "browser/frmconverters.h"

#include "browser/UnitConversions.h"
#include "core/DialogKeys.h"
#include "core/DialogParts.h"
#include "platform/ui/Ui.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <functional>
#include <optional>

namespace {

// The chosen unit's position, -1 when none is chosen.
int chosen(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

// Converts the value typed in `value` into `result`. A value that is no number, or one beyond what can be
// converted, empties the result box (no earlier result stands beside it, and no number read from part of
// the text is shown) and says so; the value box then has the focus, its text selected for retyping.
void convertInto(QLineEdit* value, QLineEdit* result, const std::function<QString(double)>& conversion)
{
    QString failure;
    const QString typed = value->text().trimmed();
    if (const std::optional<double> number = conversions::typedNumber(typed)) {
        try {
            result->setText(conversion(*number));
            return;
        } catch (...) {
            failure = "\"" + typed + "\" is too large to convert.";
        }
    } else {
        const QString example = QLocale().toString(2.5);
        failure = typed.isEmpty() ? "Type the value to convert, such as " + example + "."
                                  : "\"" + typed + "\" is not a number. Type the value as a number, such as " +
                                        example + ".";
    }
    result->clear();
    ui::msgBox(failure, ui::Buttons::OK, ui::Icon::Exclamation, "Conversions..");
    value->setFocus();
    value->selectAll();
}

} // namespace

frmconverters::frmconverters(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmconverters");
    setWindowTitle("Conversions..");
    setModal(true);

    QHBoxLayout* pageButtons =
        PageButtonRow(this, {"Weight", "Temperature", "Volume"}, cmdAction, [this](int i) { cmdAction_Click(i); });

    pages_ = new QStackedWidget(this);
    fraOption << makePage(0, txtWeight, lstWeightFrom, lstWeightTo, cmdConvert, "cmdConvert", txtResult)
              << makePage(1, txtTempValue, lstTempFrom, lstTempTo, cmdTempConvert, "cmdTempConvert", txtTempResult)
              << makePage(2, txtVolumeValue, lstVolFrom, lstvolTo, cmdVolConvert, "cmdVolConvert", txtVolResult);
    txtWeight->setObjectName("txtWeight");
    lstWeightFrom->setObjectName("lstWeightFrom");
    lstWeightTo->setObjectName("lstWeightTo");
    txtResult->setObjectName("txtResult");
    txtTempValue->setObjectName("txtTempValue");
    lstTempFrom->setObjectName("lstTempFrom");
    lstTempTo->setObjectName("lstTempTo");
    txtTempResult->setObjectName("txtTempResult");
    txtVolumeValue->setObjectName("txtVolumeValue");
    lstVolFrom->setObjectName("lstVolFrom");
    lstvolTo->setObjectName("lstvolTo");
    txtVolResult->setObjectName("txtVolResult");
    for (QFrame* page : fraOption)
        pages_->addWidget(page);

    cmdCalc = NamedButton(this, "cmdCalc", "Calculator");
    cmdClose = NamedButton(this, "cmdClose", "Close");
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdCalc);
    bottom->addWidget(cmdClose);

    QVBoxLayout* body = BannerLayout(this, "Conversions");
    body->addLayout(pageButtons);
    body->addWidget(pages_, 1);
    body->addLayout(bottom);
    resize(560, 440);

    // Enter presses only the Convert button of the page in view (ShowPage).
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setAutoDefault(false);
    connect(cmdConvert, &QPushButton::clicked, this, &frmconverters::cmdConvert_Click);
    connect(cmdTempConvert, &QPushButton::clicked, this, &frmconverters::cmdTempConvert_Click);
    connect(cmdVolConvert, &QPushButton::clicked, this, &frmconverters::cmdVolConvert_Click);
    connect(cmdCalc, &QPushButton::clicked, this, &frmconverters::cmdCalc_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmconverters::cmdClose_Click);

    Form_Load();
    EnterPressesFocusedButton(this);
}

QFrame* frmconverters::makePage(int index, QLineEdit*& value, QListWidget*& from, QListWidget*& to,
                                QPushButton*& convert, const QString& convertName, QLineEdit*& result)
{
    auto* page = new QFrame;
    page->setObjectName(QString("fraOption_%1").arg(index));
    value = new QLineEdit(page);
    from = new QListWidget(page);
    to = new QListWidget(page);
    convert = NamedButton(page, convertName, "Convert");
    result = new QLineEdit(page);
    result->setReadOnly(true);
    result->setAccessibleName("Result");

    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 8, 0, 8);
    grid->addWidget(LabelFor(value, "Value:", page), 0, 0);
    grid->addWidget(value, 1, 0);
    grid->addWidget(LabelFor(from, "Convert From:", page), 2, 0);
    grid->addWidget(from, 3, 0);
    grid->addWidget(LabelFor(to, "Convert To:", page), 2, 1);
    grid->addWidget(to, 3, 1);
    grid->addWidget(convert, 4, 0);
    grid->addWidget(result, 4, 1);
    grid->setRowStretch(3, 1);
    return page;
}

void frmconverters::Form_Load()
{
    const QList<std::pair<QListWidget*, QListWidget*>> lists{
        {lstWeightFrom, lstWeightTo}, {lstTempFrom, lstTempTo}, {lstVolFrom, lstvolTo}};
    const QList<const QStringList*> units{&conversions::weightUnits(), &conversions::temperatureUnits(),
                                          &conversions::volumeUnits()};
    for (int i = 0; i < lists.size(); ++i) {
        lists[i].first->clear();
        lists[i].first->addItems(*units[i]);
        lists[i].second->clear();
        for (int row = 0; row < lists[i].first->count(); ++row)
            lists[i].second->addItem(lists[i].first->item(row)->text());
    }
    ShowPage(0);
}

void frmconverters::ShowPage(int index)
{
    if (index < 0 || index >= fraOption.size())
        return;
    pages_->setCurrentIndex(index);
    cmdAction[index]->setChecked(true);
    // Enter converts on the page in view.
    const QList<QPushButton*> converts{cmdConvert, cmdTempConvert, cmdVolConvert};
    for (int i = 0; i < converts.size(); ++i)
        converts[i]->setDefault(i == index);
}

void frmconverters::cmdAction_Click(int index) { ShowPage(index); }

void frmconverters::cmdConvert_Click()
{
    convertInto(txtWeight, txtResult,
                [&](double v) { return conversions::ConvertWeight(v, chosen(lstWeightFrom), chosen(lstWeightTo)); });
}

void frmconverters::cmdTempConvert_Click()
{
    convertInto(txtTempValue, txtTempResult,
                [&](double v) { return conversions::ConvertTemperature(v, chosen(lstTempFrom), chosen(lstTempTo)); });
}

void frmconverters::cmdVolConvert_Click()
{
    convertInto(txtVolumeValue, txtVolResult,
                [&](double v) { return conversions::ConvertVolume(v, chosen(lstVolFrom), chosen(lstvolTo)); });
}

const QStringList& frmconverters::calculators()
{
    static const QStringList names{"gnome-calculator", "kcalc", "galculator", "mate-calc", "xcalc"};
    return names;
}

void frmconverters::cmdCalc_Click()
{
    try {
        for (const QString& name : calculators()) {
            const QString program = QStandardPaths::findExecutable(name);
            if (!program.isEmpty()) {
                if (ui::startProgram(program))
                    return;
                break;
            }
        }
    } catch (...) {
    }
    ui::msgBox("Failed to launch Calculator. It may not be installed.", ui::Buttons::OK, ui::Icon::Exclamation,
               "Calculator");
}

void frmconverters::cmdClose_Click() { accept(); }
