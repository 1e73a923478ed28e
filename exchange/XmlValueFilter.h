#pragma once
// A read-only device between a rowset file and the XML parser that keeps the parser's memory bounded.
// It passes the file through unchanged except for attribute values that would be held whole in memory:
// - a picture (an attribute named RecipePicture) is taken out as it streams by and decoded from its hex
//   digits straight into bytes; the parser sees the value "@" followed by the picture's number (or
//   "@bad" for one that is no strict hex), and takePicture() hands the bytes over once;
// - any other value is held back until it ends; one longer than kMaxValueBytes is dropped (the parser
//   sees it empty) and the element gets the extra attribute kTooLongMark, so that its row can be skipped.
// Comments, CDATA sections, processing instructions and declarations pass untouched.
#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QIODevice>

class XmlValueFilter : public QIODevice {
public:
    static constexpr qint64 kMaxValueBytes = qint64(16) << 20;
    static constexpr const char* kTooLongMark = "tq-value-too-long";

    // With keepPictures false the pictures are checked and dropped (a walk that only counts rows).
    XmlValueFilter(const QString& path, bool keepPictures);

    bool open(OpenMode mode) override; // ReadOnly; false when the file cannot be opened
    bool isSequential() const override { return true; }
    qint64 fileSize() const { return file_.size(); }
    qint64 bytesRead() const { return file_.pos(); }

    // The picture behind a value "@n", or an empty array when there is none (any more).
    QByteArray takePicture(QStringView value);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    enum class State { Text, MarkupOpen, Comment, CData, Instruction, Declaration, Tag, Name, AfterName, Equals, Value };
    void filter(const char* in, qint64 size);
    void decodePicture(const char* digits, qint64 size);
    void endValue();

    QFile file_;
    bool keepPictures_;
    QByteArray out_;      // filtered bytes not yet handed to the parser
    qsizetype outPos_ = 0;

    State state_ = State::Text;
    QByteArray opening_;  // the characters after '<' while it is not yet known what they open
    QByteArray name_;     // the attribute name in hand (up to a few characters more than needed)
    char quote_ = 0;
    int declarationDepth_ = 0; // '[' nesting inside a declaration
    char last1_ = 0, last2_ = 0; // the two characters before, for the ends of comments, CDATA and PIs

    // The value in hand.
    bool picture_ = false;
    bool pictureBad_ = false;
    int pendingNibble_ = -1;
    QByteArray pictureBytes_;
    qint64 valueBytes_ = 0;
    QByteArray held_; // the text value in hand, up to the limit
    bool cut_ = false;
    bool markElement_ = false; // the element in hand had a value cut

    int nextPicture_ = 0;
    QHash<int, QByteArray> pictures_;
};
