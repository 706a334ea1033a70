// Colour constants and operations (being written).
