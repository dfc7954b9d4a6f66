#pragma once
// Registers the scene's pure-function units as QML singletons of the module "W3.Logic 1.0":
// Palette, KeyCodes, Sensor and Lighting. Safe to call more than once.
void registerSceneLogic();
