#pragma once
// Every key the program looks up in the language file, with the English text shown when the
// file does not give one: the keys the dialog layouts name for their controls' fixed texts,
// and those the code names (text/TextKeys.h). The shipped file is checked against this list,
// so a key that is added to the program without a text in every language is noticed.

#include <vector>

#include "text/TextKeys.h"

namespace linkscope {

const std::vector<TextKey>& TextKeys();

}  // namespace linkscope
