#pragma once

// Writes a QTextDocument, or a selection of one, as Rich Text Format that word
// processors read: font family, point size, bold, italic, underline,
// strike-through and colour of the text, and the alignment of its paragraphs.
//
// The text is legacy bytes shown through the Windows-1252 table, so the file
// says \ansicpg1252 and every font \fcharset0: a character with a byte above
// 0x7F is written as \'hh, one outside the table as \uN? (with a surrogate
// pair as two). Paragraphs are separated by \par; each starts with \pard and
// its alignment, but for a selection's last paragraph when the selection ends
// before its end: pasted, such a piece keeps the alignment of the paragraph
// it lands in. Lines of the file break after about 200 characters, at places
// where a break adds no text.

#include <string>

class QTextCursor;
class QTextDocument;

namespace rt::rtf {

// The whole document.
std::string writeDocument(const QTextDocument &document);

// The selection only; without a selection, a valid empty document.
std::string writeSelection(const QTextCursor &selection);

} // namespace rt::rtf
