# Sources of the Output and Graphs pages.
