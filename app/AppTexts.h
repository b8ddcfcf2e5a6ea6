// Fixed texts of the window that neither the message table nor a language file replaces.
#pragma once

namespace partsmith {

inline constexpr const char* kDonationUrl = "https://partsmith.example.org/donate";
inline constexpr const char* kProjectUrl = "https://partsmith.example.org/";
inline constexpr const char* kBlogUrl = "https://blog.partsmith.example.org/";
inline constexpr const char* kFeedbackMailto = "mailto:feedback@partsmith.example.org";

inline constexpr const char* kConfigurationSaved = "Configuration Saved!";
inline constexpr const char* kConfigurationSavedCaption = "Success";

inline constexpr const char* kErrorSettingPath = "Error setting path: \"%s\"";
inline constexpr const char* kCantLocateFile = "Can't locate file: ";

inline constexpr const char* kOsNameFormat = "%s %d.%d (Build %d), Update %s";
inline constexpr const char* kMemoryLoadFormat = "%d %%";

inline constexpr const char* kNoticeOfRights =
    "Copyright \u00a9 2024 Brimvale Software. All rights reserved.";

inline constexpr const char* kAboutNotice =
    "Brimvale Partsmith is free to use and free to pass on, as long as it is passed on whole "
    "and unchanged. Please do not sell it or bundle it with anything that is sold.\r\n\r\n"
    "If Partsmith saves you time, please consider a donation: it keeps the project going and "
    "pays for the time that goes into new versions.\r\n\r\n"
    "Partsmith is built on the work of others:\r\n"
    "- Qt, by The Qt Company and the Qt Project, used under the GNU Lesser General Public "
    "License version 3 (LGPLv3): the window, its controls and the help viewer.\r\n"
    "- Crypto++, by Wei Dai and the Crypto++ contributors, under the Boost Software License "
    "1.0: the published block ciphers and hash functions.\r\n"
    "- isa-l, the Intelligent Storage Acceleration Library by Intel Corporation, under the "
    "BSD-3-Clause license: the fast CRC-32.\r\n\r\n"
    "Partsmith was written by the Brimvale Software team.";

// The welcome dialog's text; the spelling of "Coutinue" matches its button "Countinue".
inline constexpr const char* kWelcomeText =
    "Welcome to Brimvale Partsmith!\r\n\r\n"
    "Partsmith cuts a big file into parts of the size you choose and joins them back, "
    "with a password if you like. It also checks and compares files.\r\n\r\n"
    "Pick a page, choose your file and press Start. Click Coutinue to begin.";

} // namespace partsmith
