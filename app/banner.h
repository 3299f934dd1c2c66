// The banner picture compiled into the program.
#pragma once

#include "text/text.h"

// The PNG file's bytes (180 x 60 pixels with alpha).
const Bytes& BannerPng();
