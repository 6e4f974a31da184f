#include "shaping.h"

#include <QChar>

#include <algorithm>
#include <array>

namespace forms {

namespace {

// Scripts whose letters join, or form conjuncts and reorder their marks, across clusters.
constexpr std::array JoiningScripts{
    QChar::Script_Arabic,      QChar::Script_Syriac,
    QChar::Script_Thaana,      QChar::Script_Nko,
    QChar::Script_Mandaic,     QChar::Script_Mongolian,
    QChar::Script_Devanagari,  QChar::Script_Bengali,
    QChar::Script_Gurmukhi,    QChar::Script_Gujarati,
    QChar::Script_Oriya,       QChar::Script_Tamil,
    QChar::Script_Telugu,      QChar::Script_Kannada,
    QChar::Script_Malayalam,   QChar::Script_Sinhala,
    QChar::Script_Thai,        QChar::Script_Lao,
    QChar::Script_Tibetan,     QChar::Script_Myanmar,
    QChar::Script_Khmer,       QChar::Script_Limbu,
    QChar::Script_TaiLe,       QChar::Script_NewTaiLue,
    QChar::Script_TaiTham,     QChar::Script_TaiViet,
    QChar::Script_Balinese,    QChar::Script_Javanese,
    QChar::Script_Sundanese,   QChar::Script_Buginese,
    QChar::Script_Batak,       QChar::Script_Cham,
    QChar::Script_Lepcha,      QChar::Script_Chakma,
    QChar::Script_MeeteiMayek, QChar::Script_SylotiNagri,
    QChar::Script_Saurashtra,  QChar::Script_Kaithi,
    QChar::Script_Sharada,     QChar::Script_Takri,
    QChar::Script_Brahmi,      QChar::Script_Grantha,
    QChar::Script_Tirhuta,     QChar::Script_Newa,
    QChar::Script_Khojki,      QChar::Script_Khudawadi,
    QChar::Script_Modi,        QChar::Script_Siddham,
    QChar::Script_Mahajani,    QChar::Script_Dogra,
    QChar::Script_Ahom,        QChar::Script_HanifiRohingya,
    QChar::Script_Adlam,       QChar::Script_PhagsPa,
};

bool needsShaping(char32_t code)
{
    switch (QChar::direction(code)) {
    case QChar::DirR:
    case QChar::DirAL:
    case QChar::DirRLE:
    case QChar::DirRLO:
    case QChar::DirLRE:
    case QChar::DirLRO:
    case QChar::DirPDF:
    case QChar::DirRLI:
    case QChar::DirLRI:
    case QChar::DirFSI:
    case QChar::DirPDI:
        return true;
    default:
        break;
    }
    // The marks that set a direction without one of their own.
    if (code == 0x200E || code == 0x200F || code == 0x061C)
        return true;
    const QChar::Script script = QChar::script(code);
    return std::find(JoiningScripts.cbegin(), JoiningScripts.cend(), script) !=
           JoiningScripts.cend();
}

} // namespace

bool needsShaping(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text[i].unicode();
        // Latin captions, the common case, are told apart without a table lookup per character.
        if (code < 0x0590)
            continue;
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (needsShaping(code))
            return true;
    }
    return false;
}

} // namespace forms
