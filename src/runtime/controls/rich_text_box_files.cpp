// The rich-text box's files: LoadFile and SaveFile.

#include "runtime/controls/rich_text_box.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/forms/program.h"
#include "runtime/system/file_access.h"
#include "runtime/text/legacy_text.h"
#include "runtime/text/rtf_reader.h"

#include <filesystem>

namespace rt {

namespace {

constexpr int kInvalidFileFormat = 321; // "Invalid file format"
// Larger files are refused unread. The writer takes at most some 55 bytes
// for a character (each in a format of its own), so whatever the box holds
// saves to a file within this size.
constexpr std::size_t kMaxFileBytes = 128 * 1024 * 1024;

std::filesystem::path hostFile(const Control &control, const std::string &path)
{
    return control.program().drive().hostPath(path, control.program().Path());
}

} // namespace

void RichTextBox::LoadFile(const std::string &path, int fileType)
{
    if (fileType != rtfRTF && fileType != rtfText)
        raise(err::InvalidPropertyValue);
    const std::string content = readWholeFile(hostFile(*this, path), kMaxFileBytes);
    if (fileType == rtfRTF && !rtf::looksLikeRtf(content))
        raise(kInvalidFileFormat, "Invalid file format");
    if (fileType == rtfText)
        setTextAs(content, kTooLargeToOpen);
    else
        setTextRtfAs(content, kTooLargeToOpen);
}

void RichTextBox::SaveFile(const std::string &path, int fileType)
{
    if (fileType != rtfRTF && fileType != rtfText)
        raise(err::InvalidPropertyValue);
    const std::string content = fileType == rtfText ? Text() : TextRTF();
    // What the box took by typing can pass what it takes from a file: such a
    // document is refused here, as Open would refuse it, and stays in the box
    // to be shortened, rather than saved to a file that would not open again.
    if (content.size() > kMaxFileBytes)
        raise(7 /* "Out of memory" */, std::string(kTooLargeToSave) + "its file would be larger than 128 MB.");
    if (fileType == rtfText)
        checkText(toQString(withoutCarriageReturns(content)), kTooLargeToSave);
    else
        checkRtf(content, kTooLargeToSave);
    if (const int error = replaceFile(hostFile(*this, path), content))
        raiseFileError(error, FileAction::Write);
}

} // namespace rt
