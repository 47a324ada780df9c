// Names of the East Asian code pages whose double-byte characters end in a backslash (0x5C) or an
// ASCII letter, the bytes that a text read byte by byte takes for a separator or a letter. Each is
// written in the bytes of its code page.
#pragma once

#include <string>

namespace doublebyte {

// Shift-JIS (932)
inline const std::string kSoftware932 = "\x83\x5C\x83\x74\x83\x67";  // ソフト: ソ is 83 5C
inline const std::string kSetup932 = "\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76";  // セットアップ
inline const std::string kSe932 = "\x83\x5A";                                             // セ, a Z
inline const std::string kHo932 = "\x83\x7A";                                             // ホ, a z
inline const std::string kTable932 = "\x95\x5C";                                          // 表

// Big5 (950)
inline const std::string kPermit950 = "\xB3\x5C\xA5\x69";    // 許可: 許 is B3 5C, 可 A5 69 (an i)
inline const std::string kFunction950 = "\xA5\x5C\xAF\xE0";  // 功能
inline const std::string kName950 = "\xA6\x57\xA6\x72";      // 名字: 名 is A6 57, a W
inline const std::string kSafe950 = "\xA6\x77";  // 安, a w: 名 with its second byte in lower case

}  // namespace doublebyte
