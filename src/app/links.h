#pragma once

// The links the menus and the About window open. All fictional: the program
// points at no real site.

namespace varnel {

inline constexpr char kNewsPartnerUrl[] = "https://noticias-procesador.example.com/";
inline constexpr char kOcPartner1Url[] = "https://atelier-frequence.example.net/";
inline constexpr char kOcPartner2Url[] = "https://surcadence.example.com/";
inline constexpr char kContactAddress[] = "varnel@example.org";

}  // namespace varnel
