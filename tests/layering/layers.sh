# The layers, from the bottom: common and codec; package and flash; installer,
# launcher, uninstaller and examples; tools. Sourced by the layering checks.
layer_of() {
  case "$1" in
    common|codec) echo 0 ;;
    package|flash) echo 1 ;;
    installer|launcher|uninstaller|examples) echo 2 ;;
    tools) echo 3 ;;
    *) echo "" ;;
  esac
}
