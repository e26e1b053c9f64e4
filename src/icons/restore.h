#pragma once
// Putting catalogue defaults back: the selected item (Default), every icon of the six icon tabs, every
// pointer. Like every edit they only stage.
#include "icons/icon_ports.h"
#include "platform/ports.h"

class Session;

// Does nothing on the settings tab.
void cmdDefault_Click(Session& session, IconCommandView& view);
// Each asks first; "Cancel" stops, any other answer (closing the prompt too) goes ahead.
void RestoreAllIcons(Session& session, PromptPort& prompts, SystemPort& system, IconCommandView& view);
void RestoreAllPointers(Session& session, PromptPort& prompts, SystemPort& system, IconCommandView& view);
