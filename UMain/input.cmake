# Sources of the main window frame and the Input page.
