// Operator texts of the plain C++ modules. The modules stay free of Qt and
// keep producing the Chinese texts (orb-cli and scripts rely on them); the
// window translates them where it shows them.
//
// ORB_TEXT("core", "...") marks a fixed text: it is the text itself, and
// lupdate collects it because scripts/update_translations.sh names ORB_TEXT
// as an alias of QT_TRANSLATE_NOOP. The context is always "core".
//
// A text with numbers in it is written as a marked template with %1..%9 and
// filled by FillTemplate. The window turns the numbers of a shown text back
// into %1..%9, translates that template and fills the numbers in again, so a
// template must hold no digits of its own.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#define ORB_TEXT(context, text) text

namespace orb {

// `tmpl` with %1..%9 replaced by the arguments in order of their number;
// a placeholder without an argument stays as it is.
std::string FillTemplate(std::string_view tmpl, std::initializer_list<std::string_view> args);

}  // namespace orb
