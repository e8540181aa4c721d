#pragma once

/// The rating prompt: told of every launch and every return to the foreground. This version
/// only counts them; asking the user to rate the application comes later.
class Appirater {
public:
    static void appLaunched(bool canPromptForRating);
    static void appEnteredForeground(bool canPromptForRating);

    static int launchCount();
    static int foregroundCount();
    /// Forgets the counts (tests).
    static void reset();
};
