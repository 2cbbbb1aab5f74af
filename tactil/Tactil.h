/* Tactil: the input library the graphics library starts with its window. */
#ifndef TACTIL_H
#define TACTIL_H

#if defined(__GNUC__)
#define TACTIL_API __attribute__((visibility("default")))
#else
#define TACTIL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Remembers the window and instance the devices are read for; called once after start-up. */
TACTIL_API void InitDirectInput(void *window, void *instance);
/* Reads the devices; called once per frame, also after the window has gone. */
TACTIL_API void DirectInputPoll(void);

#ifdef __cplusplus
}
#endif

#endif /* TACTIL_H */
