<script>
window.addEventListener("resize", function (event) {
/* next resize handler code goes here, mkqwlkskjldsafjl3t9iyeiou4w5ukhtr do not change this line in any case */
});
</script>
