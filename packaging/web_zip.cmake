# The web build's zip (filled in with the packaging step).
