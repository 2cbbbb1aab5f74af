// How a source file's bytes become the control's text and back. A file is plain 8-bit text: CR LF,
// a lone CR and a lone LF each end a line on reading; the control holds one LF per line break; on
// writing every line break becomes CR LF. Nothing is added after the last line, no byte order mark
// is written and every other byte (NUL and bytes above 127 included) is kept exactly, so a file
// opened and saved unchanged differs at most in its line ends. No window-system code here.
#pragma once

#include <string>
#include <string_view>

namespace scrivo {

// The file's bytes with every line break as the control's LF. Made in place: a large file is not
// held twice.
std::string FileBytesToText(std::string bytes);

// The control's text with every line break (LF, CR or CR LF) as CR LF.
std::string TextToFileBytes(std::string_view text);

// Whether FileBytesToText(bytes) would be `text`, found without making it.
bool ReadsAs(std::string_view bytes, std::string_view text);

// Text that one byte per character cannot carry through a save: a UTF-16 or UTF-32 byte order mark
// at the start, or NUL bytes, as binary files hold. Writing its line breaks as CR LF would put CR
// bytes between the halves of its characters.
enum class ForeignText { None, Utf16, Utf32, Binary };
ForeignText ForeignTextIn(std::string_view text);

}  // namespace scrivo
