# GUI tests of the Output and Graphs pages.
