# shellcheck shell=bash
# Sourced by the scripts that look at a program's window on an X display (ImageMagick's import).

# shows_success_green WINDOW X Y: whether the pixel at (X, Y) of the X window WINDOW is the green
# of the success look's check mark.
shows_success_green() {
  [ "$(import -window "$1" -crop "1x1+$2+$3" +repage \
       -format '%[fx:g>0.5 && r<0.4 && b<0.5]' info: 2>/dev/null)" = 1 ]
}
