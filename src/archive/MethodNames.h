#pragma once

#include <QString>
#include <QtGlobal>

/// "Stored", "Shrunk", "Reduced:N", "Imploded:<dictionary and trees>", "Tokenized",
/// "Deflated:N|X|F|S", "EnhDef", "ImplDCL", else "Unknown"; flag bits 1-2 pick the option.
[[nodiscard]] QString ZipMethodName(quint32 method, quint32 flags);
/// 48 "Stored"; 51 "Deflated:<d>Kb" with d from flag bits 5-7 (64 to 8192); else "Unknown".
[[nodiscard]] QString RarMethodName(quint32 method, quint32 flags);
/// 0 "Stored", 1 "Deflated:1024Kb", else "Unknown".
[[nodiscard]] QString AceMethodName(quint32 method);
/// The cabinet's compression type, high bits ignored: "None", "MsZip", "Lzx", else "".
[[nodiscard]] QString CabMethodName(quint32 method);
