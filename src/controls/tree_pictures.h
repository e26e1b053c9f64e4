#pragma once
// The settings tree's seven pictures. They are drawn as text pixel maps (resources/tree_pictures) and
// compiled into the code, so the program and every test program get the same image list without resources.
#include "platform/unique_handle.h"

#include <windows.h>

#include <optional>
#include <span>
#include <string_view>

inline constexpr int TreePictureSize = 16;

// One map per image number, image 1 first: 16 rows of 16 characters, joined row after row.
// Generated at build time from the pixel map files.
std::span<const std::string_view> TreePictureMaps();

// The colour a map character stands for; no value for '.' (transparent) and for unknown characters.
std::optional<COLORREF> PixelMapColour(char c);

// The pictures as an image list, image number n at index n - 1, transparent where the maps say '.'.
UniqueHImageList MakeTreeImageList();
