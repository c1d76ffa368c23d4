// Formats left out of this build: a name in the list, no reader or writer.
#include "FreeImage.h"
#include "Plugin.h"
static const char* DLL_CALLCONV FormatBMP() { return "BMP"; }
void DLL_CALLCONV InitBMP(Plugin* plugin, int) { plugin->format_proc = FormatBMP; }
static const char* DLL_CALLCONV FormatICO() { return "ICO"; }
void DLL_CALLCONV InitICO(Plugin* plugin, int) { plugin->format_proc = FormatICO; }
static const char* DLL_CALLCONV FormatJNG() { return "JNG"; }
void DLL_CALLCONV InitJNG(Plugin* plugin, int) { plugin->format_proc = FormatJNG; }
static const char* DLL_CALLCONV FormatKOALA() { return "KOALA"; }
void DLL_CALLCONV InitKOALA(Plugin* plugin, int) { plugin->format_proc = FormatKOALA; }
static const char* DLL_CALLCONV FormatIFF() { return "IFF"; }
void DLL_CALLCONV InitIFF(Plugin* plugin, int) { plugin->format_proc = FormatIFF; }
static const char* DLL_CALLCONV FormatMNG() { return "MNG"; }
void DLL_CALLCONV InitMNG(Plugin* plugin, int) { plugin->format_proc = FormatMNG; }
static const char* DLL_CALLCONV FormatPNM() { return "PNM"; }
void DLL_CALLCONV InitPNM(Plugin* plugin, int) { plugin->format_proc = FormatPNM; }
static const char* DLL_CALLCONV FormatPCD() { return "PCD"; }
void DLL_CALLCONV InitPCD(Plugin* plugin, int) { plugin->format_proc = FormatPCD; }
static const char* DLL_CALLCONV FormatPCX() { return "PCX"; }
void DLL_CALLCONV InitPCX(Plugin* plugin, int) { plugin->format_proc = FormatPCX; }
static const char* DLL_CALLCONV FormatRAS() { return "RAS"; }
void DLL_CALLCONV InitRAS(Plugin* plugin, int) { plugin->format_proc = FormatRAS; }
static const char* DLL_CALLCONV FormatTARGA() { return "TARGA"; }
void DLL_CALLCONV InitTARGA(Plugin* plugin, int) { plugin->format_proc = FormatTARGA; }
static const char* DLL_CALLCONV FormatTIFF() { return "TIFF"; }
void DLL_CALLCONV InitTIFF(Plugin* plugin, int) { plugin->format_proc = FormatTIFF; }
static const char* DLL_CALLCONV FormatWBMP() { return "WBMP"; }
void DLL_CALLCONV InitWBMP(Plugin* plugin, int) { plugin->format_proc = FormatWBMP; }
static const char* DLL_CALLCONV FormatPSD() { return "PSD"; }
void DLL_CALLCONV InitPSD(Plugin* plugin, int) { plugin->format_proc = FormatPSD; }
static const char* DLL_CALLCONV FormatCUT() { return "CUT"; }
void DLL_CALLCONV InitCUT(Plugin* plugin, int) { plugin->format_proc = FormatCUT; }
static const char* DLL_CALLCONV FormatXBM() { return "XBM"; }
void DLL_CALLCONV InitXBM(Plugin* plugin, int) { plugin->format_proc = FormatXBM; }
static const char* DLL_CALLCONV FormatXPM() { return "XPM"; }
void DLL_CALLCONV InitXPM(Plugin* plugin, int) { plugin->format_proc = FormatXPM; }
static const char* DLL_CALLCONV FormatDDS() { return "DDS"; }
void DLL_CALLCONV InitDDS(Plugin* plugin, int) { plugin->format_proc = FormatDDS; }
static const char* DLL_CALLCONV FormatGIF() { return "GIF"; }
void DLL_CALLCONV InitGIF(Plugin* plugin, int) { plugin->format_proc = FormatGIF; }
static const char* DLL_CALLCONV FormatHDR() { return "HDR"; }
void DLL_CALLCONV InitHDR(Plugin* plugin, int) { plugin->format_proc = FormatHDR; }
static const char* DLL_CALLCONV FormatG3() { return "G3"; }
void DLL_CALLCONV InitG3(Plugin* plugin, int) { plugin->format_proc = FormatG3; }
static const char* DLL_CALLCONV FormatSGI() { return "SGI"; }
void DLL_CALLCONV InitSGI(Plugin* plugin, int) { plugin->format_proc = FormatSGI; }
static const char* DLL_CALLCONV FormatEXR() { return "EXR"; }
void DLL_CALLCONV InitEXR(Plugin* plugin, int) { plugin->format_proc = FormatEXR; }
static const char* DLL_CALLCONV FormatJ2K() { return "J2K"; }
void DLL_CALLCONV InitJ2K(Plugin* plugin, int) { plugin->format_proc = FormatJ2K; }
static const char* DLL_CALLCONV FormatJP2() { return "JP2"; }
void DLL_CALLCONV InitJP2(Plugin* plugin, int) { plugin->format_proc = FormatJP2; }
static const char* DLL_CALLCONV FormatPFM() { return "PFM"; }
void DLL_CALLCONV InitPFM(Plugin* plugin, int) { plugin->format_proc = FormatPFM; }
static const char* DLL_CALLCONV FormatPICT() { return "PICT"; }
void DLL_CALLCONV InitPICT(Plugin* plugin, int) { plugin->format_proc = FormatPICT; }
static const char* DLL_CALLCONV FormatRAW() { return "RAW"; }
void DLL_CALLCONV InitRAW(Plugin* plugin, int) { plugin->format_proc = FormatRAW; }
static const char* DLL_CALLCONV FormatWEBP() { return "WEBP"; }
void DLL_CALLCONV InitWEBP(Plugin* plugin, int) { plugin->format_proc = FormatWEBP; }
static const char* DLL_CALLCONV FormatJXR() { return "JXR"; }
void DLL_CALLCONV InitJXR(Plugin* plugin, int) { plugin->format_proc = FormatJXR; }
