#pragma once

// Builds the display lists of the 8 x 13 font; needs the current context.
void BuildBitmapFont();
