# What the scripts know about the project, read from the one place each is
# kept, never repeated in a script. Source it from the repository root.
#   SAME_HEIGHT_VERSION     the version, from project(VERSION) in CMakeLists.txt
#   SAME_HEIGHT_DESKTOP_ID  the desktop id, from SAME_HEIGHT_DESKTOP_ID there
#   FORM2_WIDTH, FORM2_HEIGHT  Form2's client area in pixels at 96 dpi, from
#                           the form's size in twips in window/form2_description.cpp

project_value() { # NAME PATTERN FILE: the first match of a sed -E pattern's \1
  local value
  value=$(sed -nE "s/$2/\\1/p" "$3" | head -n1)
  [ -n "$value" ] || { echo "project.sh: no $1 in $3" >&2; return 1; }
  printf '%s\n' "$value"
}

SAME_HEIGHT_VERSION=$(project_value version \
  '^project\([A-Za-z]+ VERSION ([0-9.]+)[ )].*' CMakeLists.txt)
SAME_HEIGHT_DESKTOP_ID=$(project_value "desktop id" \
  '^set\(SAME_HEIGHT_DESKTOP_ID ([A-Za-z0-9.]+)\)' CMakeLists.txt)
form2_twips=$(project_value "size of Form2" \
  '.*FormDescription Form2Form\{Form2, u"Form2", ([0-9]+, [0-9]+),.*' window/form2_description.cpp)
# 1440 twips to the inch, 96 pixels to the inch: 15 twips to the pixel.
FORM2_WIDTH=$((${form2_twips%,*} / 15))
FORM2_HEIGHT=$((${form2_twips#*, } / 15))
unset form2_twips
