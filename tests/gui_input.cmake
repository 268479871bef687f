# GUI tests of the main window and the Input page.
