/* The skin library: the four calls the Zorvane client makes. C linkage, loaded at run time. */
#ifndef ZORVANE_SKIN_H
#define ZORVANE_SKIN_H

#define SKIN_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/* Applies the skin file at path (GBK or UTF-8 bytes); the second argument is unused. */
SKIN_API int SkinH_AttachEx(const char* path, const char* unused);
/* 1 switches the colour and transparency adjustments on, 0 off. */
SKIN_API int SkinH_SetAero(int on);
/* Hue 0..180 (half degrees), saturation 0..100, brightness 0..100; zeros leave the skin's colours. */
SKIN_API int SkinH_AdjustHSV(int hue, int saturation, int brightness);
/* Transparency 0 (opaque) to 255; the eight further arguments are reserved. */
SKIN_API int SkinH_AdjustAero(int alpha, int r1, int r2, int r3, int r4, int r5, int r6, int r7, int r8);

#ifdef __cplusplus
}
#endif

#endif
