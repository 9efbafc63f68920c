#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tolvane {

// One argument of a catalog text: a number or a UTF-8 string.
using TextArg = std::variant<long long, std::string>;

// Fills the placeholders of a catalog text with arguments, printf style. Catalog texts are data that anyone can
// edit, so every placeholder is checked against the argument it gets:
//   %d %i %u %x %X %c %s and %%, with the flags - 0 + space #, a width and a precision (at most 255 each).
// %d %i %u %x %X take a number, %c a number that is a Unicode code point, %s a string; width and precision of %s
// count code points. A placeholder with the wrong kind of argument, without an argument, with a conversion we do
// not support or with an absurd width or precision is left in the text as it stands (it still uses up its
// argument, so the placeholders after it keep theirs). Nothing is read beyond the arguments given and the output
// is never longer than the format plus the arguments plus 255 characters per placeholder.
std::string formatText(std::string_view format, std::span<const TextArg> args);

inline std::string formatText(std::string_view format, std::initializer_list<TextArg> args) {
    return formatText(format, std::span<const TextArg>(args.begin(), args.size()));
}

// The kind of argument each placeholder of a text takes, in order: 'd' for a number (any of %d %i %u %x %X %c),
// 's' for a string (%s), '?' for a placeholder we do not support. "%%" is not a placeholder. Catalogs of different
// languages must give a text the same kinds, or the program would fill it with arguments it does not expect.
std::vector<char> placeholderKinds(std::string_view format);

} // namespace tolvane
