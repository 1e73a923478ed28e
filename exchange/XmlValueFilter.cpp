#include "exchange/XmlValueFilter.h"

#include <array>
#include <cstring>
#include <iterator>
#include <utility>

namespace {

constexpr qint64 kChunk = 1 << 16;

// The value of each byte as a hex digit, 0xFF for a byte that is none.
constexpr std::array<unsigned char, 256> kHexValue = [] {
    std::array<unsigned char, 256> value{};
    value.fill(0xFF);
    for (int c = '0'; c <= '9'; ++c)
        value[c] = static_cast<unsigned char>(c - '0');
    for (int c = 'a'; c <= 'f'; ++c)
        value[c] = value[c - 'a' + 'A'] = static_cast<unsigned char>(c - 'a' + 10);
    return value;
}();

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

XmlValueFilter::XmlValueFilter(const QString& path, bool keepPictures) : file_(path), keepPictures_(keepPictures) {}

bool XmlValueFilter::open(OpenMode mode)
{
    if (!file_.open(QIODevice::ReadOnly))
        return false;
    return QIODevice::open(mode | QIODevice::Unbuffered);
}

QByteArray XmlValueFilter::takePicture(QStringView value)
{
    if (!value.startsWith(u'@'))
        return {};
    bool ok = false;
    const int number = value.mid(1).toInt(&ok);
    if (!ok)
        return {};
    // Pictures of elements that were passed over are never asked for: they go now.
    for (auto it = pictures_.begin(); it != pictures_.end();)
        it = it.key() < number ? pictures_.erase(it) : std::next(it);
    return pictures_.take(number);
}

qint64 XmlValueFilter::readData(char* data, qint64 maxSize)
{
    while (outPos_ >= out_.size()) {
        out_.clear();
        outPos_ = 0;
        char in[kChunk];
        const qint64 got = file_.read(in, kChunk);
        if (got < 0)
            return -1;
        if (got == 0)
            return 0; // the end of the file
        filter(in, got);
    }
    const qint64 n = std::min<qint64>(maxSize, out_.size() - outPos_);
    std::memcpy(data, out_.constData() + outPos_, n);
    outPos_ += n;
    return n;
}

// Ends the attribute value in hand (its closing quote is the next character out).
void XmlValueFilter::endValue()
{
    if (picture_) {
        if (pendingNibble_ >= 0)
            pictureBad_ = true;
        if (pictureBad_) {
            out_.append("@bad");
        } else {
            const int number = nextPicture_++;
            out_.append('@').append(QByteArray::number(number));
            if (keepPictures_)
                pictures_.insert(number, std::exchange(pictureBytes_, {}));
        }
        pictureBytes_.clear();
    }
    out_.append(held_);
    held_.clear();
    out_.append(quote_);
    if (cut_ && !markElement_) {
        markElement_ = true;
        out_.append(' ').append(kTooLongMark).append("=\"1\"");
    }
    picture_ = pictureBad_ = cut_ = false;
    pendingNibble_ = -1;
    valueBytes_ = 0;
    state_ = State::Tag;
}

// Decodes the next hex digits of the picture in hand, two at a time (the pictures are most of an
// export's bytes); a digit left over waits for the next piece.
void XmlValueFilter::decodePicture(const char* digits, qint64 size)
{
    if (pictureBad_)
        return;
    const auto* p = reinterpret_cast<const unsigned char*>(digits);
    const auto* const end = p + size;
    const qsizetype start = pictureBytes_.size();
    if (keepPictures_)
        pictureBytes_.resize(start + (size + 1) / 2);
    char* out = keepPictures_ ? pictureBytes_.data() + start : nullptr;
    if (pendingNibble_ >= 0 && p < end) {
        const unsigned char low = kHexValue[*p++];
        if (low > 15) {
            pictureBad_ = true;
        } else {
            if (keepPictures_)
                *out++ = static_cast<char>(pendingNibble_ << 4 | low);
            pendingNibble_ = -1;
        }
    }
    for (; !pictureBad_ && end - p >= 2; p += 2) {
        const unsigned char high = kHexValue[p[0]], low = kHexValue[p[1]];
        if ((high | low) > 15)
            pictureBad_ = true;
        else if (keepPictures_)
            *out++ = static_cast<char>(high << 4 | low);
    }
    if (!pictureBad_ && p < end) {
        pendingNibble_ = kHexValue[*p];
        if (pendingNibble_ > 15)
            pictureBad_ = true;
    }
    if (pictureBad_)
        pictureBytes_.clear();
    else if (keepPictures_)
        pictureBytes_.truncate(out - pictureBytes_.constData());
}

void XmlValueFilter::filter(const char* in, qint64 size)
{
    qint64 i = 0;
    while (i < size) {
        const char c = in[i];
        switch (state_) {
        case State::Text: {
            const void* lt = std::memchr(in + i, '<', size - i);
            const qint64 end = lt ? static_cast<const char*>(lt) - in : size;
            out_.append(in + i, end - i);
            i = end;
            if (lt) {
                out_.append('<');
                ++i;
                opening_.clear();
                state_ = State::MarkupOpen;
            }
            continue;
        }
        case State::MarkupOpen:
            // Decide what the '<' opens once enough characters are in.
            opening_.append(c);
            out_.append(c);
            ++i;
            if (opening_ == "!--") {
                state_ = State::Comment;
                last1_ = last2_ = 0;
            } else if (opening_ == "![CDATA[") {
                state_ = State::CData;
                last1_ = last2_ = 0;
            } else if (opening_ == "?") {
                state_ = State::Instruction;
                last1_ = 0;
            } else if (opening_[0] == '!') {
                if (!QByteArray("!--").startsWith(opening_) && !QByteArray("![CDATA[").startsWith(opening_)) {
                    state_ = State::Declaration;
                    declarationDepth_ = opening_.count('[');
                    if (c == '>' && declarationDepth_ == 0)
                        state_ = State::Text;
                }
            } else {
                state_ = c == '>' ? State::Text : State::Tag;
                markElement_ = false;
                name_.clear();
            }
            continue;
        case State::Comment:
        case State::CData:
        case State::Instruction: {
            out_.append(c);
            ++i;
            const bool ends = state_ == State::Comment       ? (c == '>' && last1_ == '-' && last2_ == '-')
                              : state_ == State::CData       ? (c == '>' && last1_ == ']' && last2_ == ']')
                                                             : (c == '>' && last1_ == '?');
            last2_ = last1_;
            last1_ = c;
            if (ends)
                state_ = State::Text;
            continue;
        }
        case State::Declaration:
            out_.append(c);
            ++i;
            if (c == '[')
                ++declarationDepth_;
            else if (c == ']' && declarationDepth_ > 0)
                --declarationDepth_;
            else if (c == '>' && declarationDepth_ == 0)
                state_ = State::Text;
            continue;
        case State::Tag:
        case State::Name:
        case State::AfterName:
        case State::Equals:
            ++i;
            if (c == '>') {
                out_.append(c);
                state_ = State::Text;
                continue;
            }
            out_.append(c);
            if ((c == '"' || c == '\'') && state_ == State::Equals) {
                quote_ = c;
                picture_ = name_.compare("RecipePicture", Qt::CaseInsensitive) == 0;
                state_ = State::Value;
                continue;
            }
            if (c == '=') {
                state_ = State::Equals;
            } else if (isSpace(c)) {
                if (state_ == State::Name)
                    state_ = State::AfterName;
            } else if (state_ == State::Equals) {
                // no value after '=': left to the parser to refuse
            } else {
                if (state_ != State::Name)
                    name_.clear();
                state_ = State::Name;
                if (name_.size() < 32)
                    name_.append(c);
            }
            continue;
        case State::Value: {
            const void* q = std::memchr(in + i, quote_, size - i);
            const qint64 end = q ? static_cast<const char*>(q) - in : size;
            if (picture_) {
                decodePicture(in + i, end - i);
            } else {
                // Held back until it ends: a value past the limit never reaches the parser at all.
                valueBytes_ += end - i;
                if (!cut_ && valueBytes_ > kMaxValueBytes) {
                    cut_ = true;
                    held_ = QByteArray();
                } else if (!cut_) {
                    held_.append(in + i, end - i);
                }
            }
            i = end;
            if (q) {
                ++i;
                endValue();
            }
            continue;
        }
        }
    }
}
