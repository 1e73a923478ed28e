#pragma once
// The recipe editor: enters a new recipe into the open cookbook or amends a stored one, with aids for
// ingredient lines, categories, times, picture and wine, a pane that shows the clipboard's text so that
// pieces of a recipe found elsewhere can be copied into the fields, and a larger instructions editor.
//
// `basMain::sEditRecipeKey` decides the mode: "" adds a recipe, "R" & ID amends that recipe.
// frmAddRecipe.cpp holds the window, its load and its save; frmAddRecipeAids.cpp the editing aids and
// the clipboard pane.
#include "core/TypedWork.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QPixmap>

class QComboBox;
class QImage;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
namespace recipewriter {
enum class UpdateResult;
}
class QWidget;

class frmAddRecipe : public QDialog {
    Q_OBJECT
public:
    explicit frmAddRecipe(QWidget* parent = nullptr);

    // Header and field labels (element 0 is the header on the banner).
    QList<QLabel*> lblInfo;

    // Recipe fields.
    QLineEdit* txtTitle;
    QLineEdit* txtAuthor;
    QListWidget* lstCat;
    QTreeWidget* lstVIng;
    QPlainTextEdit* rtb;
    QLineEdit* txtPrepTime;
    QLineEdit* txtCookTime;
    QLineEdit* txtTotalTime;
    QLineEdit* txtServes;
    QLineEdit* txtCalories;
    QComboBox* cmbOrigin;
    QLineEdit* txtWine;
    QLabel* imgRecipe;

    // Composition aids.
    QLineEdit* txtIng;
    QComboBox* cmbUOM;
    QComboBox* cmbIng;
    QPushButton* cmdAddIng;
    QPushButton* cmdRemoveIng;
    QComboBox* cmbCat;
    QPushButton* cmdAddCat;
    QPushButton* cmdRemove;
    QPushButton* cmdPicAdd;
    QPushButton* cmdPastePic;
    QPushButton* cmdPicDelete;
    QPushButton* cmdWine;
    QPushButton* cmdExpand;

    // Clipboard pane.
    QWidget* fraClip;
    QLabel* Label1;
    QPlainTextEdit* rtbClip;
    QPushButton* cmdResetClipboard;
    QPushButton* cmdClip;
    QList<QPushButton*> cmdAction; // 0 title ... 7 ingredients

    QPushButton* cmdOk;
    QPushButton* cmdCancel;

    // The picture file to store on OK: "" none, the stored picture's bare name while it is unchanged,
    // else the full path of a picture chosen or pasted since the editor opened.
    QString sPicturePath;

    // ---- load, save, cancel (frmAddRecipe.cpp)
    // Fills the window. A failure is reported and leaves the editor closed: see loaded().
    void Form_Load();
    bool loaded() const { return loaded_; }
    void cmdOk_Click();
    void cmdCancel_Click();
    // Escape and the close box cancel; with changes made they first ask whether to discard them.
    void reject() override;

    // ---- editing aids (frmAddRecipeAids.cpp)
    void cmdAddIng_Click();
    void cmdRemoveIng_Click();
    void cmdAddCat_Click();
    void cmdRemove_Click();
    void txtCookTime_Validate(bool& Cancel);
    void txtPrepTime_Validate(bool& Cancel);
    // The time and yield boxes take digits, ":" and backspace; KeyAscii becomes 0 for any other key.
    void txtTime_KeyPress(int& KeyAscii);
    void cmbOrigin_Change();
    void cmdPicAdd_Click();
    void cmdPastePic_Click();
    void cmdPicDelete_Click();
    void cmdWine_Click();
    void txtAuthor_GotFocus();
    void txtIng_GotFocus();
    void txtWine_GotFocus();
    void cmdClip_Click();
    void cmdResetClipboard_Click();
    void cmdAction_Click(int Index);
    void cmdExpand_Click();

    // Centres the window on its screen; a minimised or maximised window stays where it is.
    void CenterForm(QWidget* frm);
    // The preparation plus the cooking time as "hh:mm", "" when either is empty or no time.
    QString CalcTotalTime() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Opens the wine list as a picker; it leaves the chosen wine in basMain::sSelectedWine.
    virtual void openWineList();

private:
    void buildControls();
    void tieLabelsAndTabOrder();
    QWidget* buildFields();
    QWidget* buildClipboardPane();
    void fillPickLists();
    bool loadRecipe(qint64 id); // false when the recipe is gone (reported)
    void showPicture(const QString& path);
    bool showImage(const QImage& image);
    void emptyWindow();
    void store(bool adding, qint64 ownId, recipewriter::UpdateResult& result);
    void tellCookbookMoved();
    // Window widths: without and with the clipboard pane.
    static constexpr int kWidthTwips = 10080;
    static constexpr int kWideWidthTwips = 14565;
    int twipsToPixels(int twips) const;
    bool validateTime(QLineEdit* box, const QString& message);
    void appendIngredient(const QString& line);
    bool chosenEntry(QComboBox* box, const QString& list, const QString& command, QString& entry);

    QPixmap picture_;           // the picture as loaded, scaled into imgRecipe
    bool loaded_ = false;
    QString storedPictureName_; // the picture name as loaded, "" for none
    QByteArray storedDigest_;   // the amended recipe's row as loaded: OK tells a change made elsewhere
    int leftBeforePane_ = 0;    // the window's left edge before the pane was opened
    bool validating_ = false;   // a time message is up: no second one from the focus it moves
    TypedWork typedWork_{this}; // the recipe as loaded, to tell whether Esc would lose anything
    // The times as loaded: a stored time the user leaves as it is passes, whatever it reads.
    QHash<const QLineEdit*, QString> storedTimes_;
};
