#pragma once
// Reads recipe files of the four exchange formats into the open cookbook.
//
// Each reader zeroes the shared counters (basMain::lRecipesFound, lRecipesImported, lRecipesSkipped),
// reads the whole file in one transaction that is committed on every way out, and returns true when the
// file was read to its end or a cancel (basMain::bCancelImport) stopped it, false on any error. Recipes
// whose title is already stored are skipped and counted. Nothing is shown or logged.
#include <QObject>
#include <QString>
#include <functional>

class cImport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    bool ImportCompuChef(const QString& path);
    bool ImportMasterCook(const QString& path);
    bool ImportMealMaster(const QString& path);
    bool ImportXML(const QString& path);

    // Every run of blanks becomes one blank (tabs are left alone).
    static QString RemoveDoubleSpaces(const QString& text);
    // A line laid out in columns (pieces separated by two or more blanks) as a comma-joined list.
    static QString ColumnsToList(const QString& text);

    // What the readers call to let the event loop run (so that Cancel can be clicked). The default
    // processes pending events, at most once every 50 ms; tests replace it. Returns the previous hook.
    using YieldHook = std::function<void()>;
    static YieldHook setYieldHook(YieldHook hook);
    static YieldHook defaultYieldHook(); // a new default hook, with a throttle of its own
    static void yieldToEventLoop();

Q_SIGNALS:
    void Processing(qint32 found, qint32 imported, qint32 skipped);
    // The XML reader checks the whole file before it counts its rows: how far that check has read.
    void Checking(qint64 bytesRead, qint64 fileSize);

private:
    friend class TextImportRun;
    friend class XmlImportRun;
    void raiseProcessing();
    void raiseChecking(qint64 bytesRead, qint64 fileSize);
};
