// datagen: writes the game's data set, or review pictures of it.
//   datagen DATA_DIR               all 50 data files
//   datagen --contact-sheet FILE   every picture in its palette on one PNG
//   datagen --preview DIR          composed screens drawn with the game's own routines
#include <cstdio>
#include <cstring>

#include "dataset.h"
#include "preview.h"

int main(int argc, char** argv) {
  if (argc == 3 && strcmp(argv[1], "--contact-sheet") == 0) {
    return WriteContactSheet(BuildDataSet(), argv[2]) ? 0 : 1;
  }
  if (argc == 3 && strcmp(argv[1], "--preview") == 0) {
    const DataSet data = BuildDataSet();
    if (!WritePreviews(data.master, data.animation[0], argv[2])) {
      fprintf(stderr, "datagen: cannot write the previews into %s\n", argv[2]);
      return 1;
    }
    return 0;
  }
  if (argc == 2 && argv[1][0] != '-') return WriteDataSet(BuildDataSet(), argv[1]) ? 0 : 1;
  fprintf(stderr,
          "usage: datagen DATA_DIR\n"
          "       datagen --contact-sheet FILE.png\n"
          "       datagen --preview DIR\n");
  return 2;
}
