#pragma once

class Form;
class LanguageSupport;

namespace FormLanguage {

// Puts the current language's texts on the window and every control on it (title, captions,
// tooltips and tags), letting pending events run after each control so that the windows keep
// painting and the rotation keeps ticking. A missing language file leaves the window as it is.
void ApplyLanguage(const LanguageSupport& language, Form* form);

} // namespace FormLanguage
