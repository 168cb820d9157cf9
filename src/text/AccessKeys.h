#pragma once
// Access keys in texts: a label or button text marks its key with "&" before the letter
// ("&Channel" is reached by Alt+C), and "&&" stands for an "&" that shows. A text shown anywhere
// else (a list entry, the command line, a message) is shown without the marks.

#include <string>

namespace linkscope {

// The text as it reads: each single "&" dropped, "&&" made one "&".
std::string WithoutAccessKeys(const std::string& text);

// The key a text marks, upper-cased (ASCII letters only change); 0 when it marks none.
char AccessKeyOf(const std::string& text);

}  // namespace linkscope
