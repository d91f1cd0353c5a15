#pragma once

#include <QString>

#include "decode/ports.h"

namespace varnel {

// The program's identity as every output names it, and the two links the
// decoding and the exported table point to. All links are fictional: the
// program points at no real site.
inline constexpr char kHomePageUrl[] = "https://varnel.example.org/";
inline constexpr char kFaqUrl[] = "https://varnel.example.org/faq.html";

// Puts the program's title and version on the application object; everyone
// who names the program reads them back from there.
void SetApplicationIdentity();

// The program's title as the application object reports it.
QString ApplicationTitle();

// major.minor.revision in plain decimal.
QString GetVersionString();

// Asks the desktop to open a link. The text is passed on unchanged and no
// failure is ever shown.
void OpenURL(UrlOpener& opener, const QString& url);

// The notice for a processor the tool recognises but cannot decode.
void ShowUnsupportedChip(Prompter& prompter, const QString& chip);

}  // namespace varnel
