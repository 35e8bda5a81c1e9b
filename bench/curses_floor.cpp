// The floor of a form on a terminal: the least ncurses program that shows
// the benchmark's three prompts and waits for a key.
#include <curses.h>

int main() {
  initscr();
  raw();
  noecho();
  mvaddstr(0, 1, "New clip");
  mvaddstr(2, 1, "NAME");
  mvaddstr(3, 1, "YEAR");
  mvaddstr(4, 1, "KIND");
  refresh();
  getch();
  endwin();
}
