#pragma once

#include <QString>

#include "ports.h"

namespace varnel {

// Fixed link targets. All fictional: the program points at no real site.
inline constexpr char kHomePageUrl[] = "https://varnel.example.org/";
inline constexpr char kFaqUrl[] = "https://varnel.example.org/faq.html";
inline constexpr char kNewsPartnerUrl[] = "https://noticias-procesador.example.com/";
inline constexpr char kOcPartner1Url[] = "https://atelier-frequence.example.net/";
inline constexpr char kOcPartner2Url[] = "https://surcadence.example.com/";
inline constexpr char kContactAddress[] = "varnel@example.org";

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
