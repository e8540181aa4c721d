#pragma once

#include "LocationService.h"

#include <memory>

/// The platform's location service through Qt Positioning; nothing when the device has none.
/// Only the app links Qt Positioning: the command-line tool never asks where it is.
std::unique_ptr<LocationService> createQtLocationService();
